// The root page's banner: building it beside the list, and keeping it, the list's insets and the title view's
// fades in step with every scroll of the list.

#include "prefs/pane/VNTPrimraryController.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/CALayer.h"
#include "prefs/pane/VNTBannerView.h"

#include <algorithm>

using platform::msgSend;

namespace {

constexpr double kFadeSeconds = 0.2;

// The page's table, reached by key as the device's pages reach `_table`.
Ref<UIScrollView> pageTable(NSObject* page) {
    auto table = object_getIvar(page, "_table");
    return table ? cast<UIScrollView>(*table) : nullptr;
}

void fadeTo(const Ref<UIView>& view, CGFloat alpha) {
    UIView::animateWithDurationAnimations(kFadeSeconds, [&] { view->setAlpha(alpha); });
}

}  // namespace

void VNTPrimraryController::setupBanner() {
    m_bannerView = alloc<VNTBannerView>();
    msgSend<void, CGRect>(m_bannerView.get(), sel("initWithFrame:"), CGRectZero);
    m_bannerView->layer()->setZPosition(1000);
    view()->addSubview(m_bannerView);
    const CGFloat height = m_bannerView->contentHeightForWidth(view()->bounds().width());
    if (auto table = pageTable(this)) table->setContentOffsetAnimated(CGPointMake(0, -height), false);
    msgSend<void>(this, sel("updateBanner"));
}

void VNTPrimraryController::keepListUnderBanner(CGPoint offsetBefore) {
    auto table = pageTable(this);
    if (!m_bannerView || !table) return;
    const CGFloat height = m_bannerView->contentHeightForWidth(view()->bounds().width());
    if (table->contentInset().top != height) table->setContentInset(UIEdgeInsetsMake(height, 0, 0, 0));
    // Putting the offset back reports a scroll, which lays the banner out again.
    if (table->contentOffset() != offsetBefore) table->setContentOffset(offsetBefore);
}

void VNTPrimraryController::viewDidLayoutSubviews() {
    const CGPoint offset = table() ? table()->contentOffset() : CGPoint{};
    super::viewDidLayoutSubviews();
    keepListUnderBanner(offset);
}

void VNTPrimraryController::updateBanner() {
    auto table = pageTable(this);
    if (!m_bannerView || !table) return;
    const CGFloat width = view()->bounds().width();
    const CGFloat height = m_bannerView->contentHeightForWidth(width);
    const CGFloat y = table->contentOffset().y;
    const CGFloat pull = -y - height;
    const CGFloat stretch = std::max<CGFloat>(pull, 0);
    CGFloat top = std::min<CGFloat>(-y, 0);
    if (pull < 0) top += pull;
    msgSend<void, CGRect>(m_bannerView.get(), sel("setFrame:"), CGRectMake(0, top, width, height + stretch));
    m_bannerView->setStretchBanner(stretch);

    table->setContentInset(UIEdgeInsetsMake(height, 0, 0, 0));
    table->setAutomaticallyAdjustsScrollIndicatorInsets(false);
    UIEdgeInsets indicators = table->scrollIndicatorInsets();
    indicators.top = height + stretch;
    table->setScrollIndicatorInsets(indicators);

    // Exactly -90 is left alone: the icon keeps whatever alpha it had.
    const CGFloat now = table->contentOffset().y;
    if (now < -90) fadeTo(m_iconImage, 0);
    else if (now > -90 && now < -40) m_iconImage->setAlpha((now + 90) / 50);
    else if (now >= -40) fadeTo(m_iconImage, 1);
}

void VNTPrimraryController::scrollViewDidScroll(Ref<UIScrollView> scrollView) {
    msgSend<void>(this, sel("updateBanner"));
    if (!scrollView || !m_greetingLabel) return;
    fadeTo(m_greetingLabel, scrollView->contentOffset().y > -80 ? 0 : 1);
}
