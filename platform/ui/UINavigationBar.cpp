#include "platform/ui/UINavigationBar.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"

#include <algorithm>
#include <cmath>
#include <limits>

VT_REGISTER_CLASS(UINavigationBar, [](Class c) {
    platform::runtime::addMethod<&UINavigationBar::tapBackButtonAction>(c, "_backButtonPressed:");
})

namespace {
constexpr CGFloat kMargin = 8;

CGFloat distanceTo(const CGRect& r, CGPoint p) {
    const CGFloat dx = std::max<CGFloat>({r.minX() - p.x, 0, p.x - r.maxX()});
    const CGFloat dy = std::max<CGFloat>({r.minY() - p.y, 0, p.y - r.maxY()});
    return std::hypot(dx, dy);
}

constexpr CGFloat kItemGap = 6;
constexpr CGFloat kMinItemWidth = 30;
}  // namespace

void UINavigationBar::setItems(std::vector<Ref<UINavigationItem>> items) {
    for (auto& item : m_items) item->setBar({});
    m_items = std::move(items);
    if (auto top = topItem()) top->setBar(weakSelf<UINavigationBar>());
    itemsChanged();
}

Ref<UINavigationItem> UINavigationBar::topItem() const { return m_items.empty() ? nullptr : m_items.back(); }

Ref<UINavigationItem> UINavigationBar::backItem() const {
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
}

void UINavigationBar::setPrefersLargeTitles(bool on) {
    m_prefersLargeTitles = on;
    itemsChanged();
}

bool UINavigationBar::showsSearchBar() const {
    auto top = topItem();
    return top && top->searchController() && top->searchController()->searchBar();
}

bool UINavigationBar::showsLargeTitle() const {
    auto top = topItem();
    if (!m_prefersLargeTitles || !top) return false;
    auto mode = top->largeTitleDisplayMode();
    if (mode == UINavigationItemLargeTitleDisplayModeNever) return false;
    if (mode == UINavigationItemLargeTitleDisplayModeAlways) return true;
    // Automatic follows the item below; the root item shows large.
    for (auto it = m_items.rbegin() + 1; it != m_items.rend(); ++it) {
        auto m = (*it)->largeTitleDisplayMode();
        if (m == UINavigationItemLargeTitleDisplayModeNever) return false;
        if (m == UINavigationItemLargeTitleDisplayModeAlways) return true;
    }
    return true;
}

std::string UINavigationBar::displayedTitle() const {
    auto top = topItem();
    if (!top || top->titleView()) return {};
    return top->title();
}

std::string UINavigationBar::backButtonTitle() const {
    auto back = backItem();
    auto top = topItem();
    if (!back || (top && top->hidesBackButton())) return {};
    if (!back->backButtonTitle().empty()) return back->backButtonTitle();
    if (!back->title().empty()) return back->title();
    return "Back";
}

bool UINavigationBar::tapBackButton() {
    if (backButtonTitle().empty()) return false;
    auto owner = m_owner.lock();
    if (!owner) return false;
    owner->popViewControllerAnimated(true);
    return true;
}

Ref<UIView> UINavigationBar::viewForItem(const Ref<UIBarButtonItem>& item) {
    if (auto custom = item->customView()) return custom;
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    if (auto image = item->image()) {
        button->setImageForState(image, UIControlStateNormal);
        button->setImageEdgeInsets(item->imageInsets());
        CGSize s = image->size();
        button->setFrame(CGRectMake(0, 0, std::max(kMinItemWidth, s.width), std::max<CGFloat>(s.height, 30)));
    } else {
        button->setTitleForState(item->title(), UIControlStateNormal);
        if (item->style() == UIBarButtonItemStyleDone) button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
        else button->titleLabel()->setFont(UIFont::systemFontOfSize(17));
        CGSize s = button->titleLabel()->intrinsicContentSize();
        button->setFrame(CGRectMake(0, 0, std::max(kMinItemWidth, s.width + 8), 30));
    }
    button->setEnabled(item->isEnabled());
    button->setTag(item->tag());
    button->addTargetActionForControlEvents(item, sel("_pressFromButton:"), UIControlEventTouchUpInside);
    return button;
}

void UINavigationBar::itemsChanged() {
    for (auto& v : m_leftViews) v->removeFromSuperview();
    for (auto& v : m_rightViews) v->removeFromSuperview();
    m_leftViews.clear();
    m_rightViews.clear();
    if (m_titleView) m_titleView->removeFromSuperview();
    m_titleView = nullptr;
    if (m_backView) m_backView->removeFromSuperview();
    m_backView = nullptr;
    if (m_searchView) m_searchView->removeFromSuperview();
    m_searchView = nullptr;
    if (!backgroundColor()) {
        static Ref<UIColor> bar = UIColor::secondarySystemBackgroundColor()->colorWithAlphaComponent(0.94);
        setBackgroundColor(bar);
    }
    auto top = topItem();
    if (!top) return;
    for (auto& item : top->leftBarButtonItems()) {
        auto v = viewForItem(item);
        addSubview(v);
        m_leftViews.push_back(v);
    }
    for (auto& item : top->rightBarButtonItems()) {
        auto v = viewForItem(item);
        addSubview(v);
        m_rightViews.push_back(v);
    }
    if (auto tv = top->titleView()) {
        m_titleView = tv;
    } else {
        auto label = alloc<UILabel>();
        label->initWithFrame(CGRectZero);
        label->setText(top->title());
        label->setFont(UIFont::boldSystemFontOfSize(17));
        label->setTextColor(UIColor::labelColor());
        label->setTextAlignment(NSTextAlignmentCenter);
        m_titleView = label;
    }
    addSubview(m_titleView);
    if (showsSearchBar()) {
        m_searchView = top->searchController()->searchBar();
        addSubview(m_searchView);
    }
    std::string back = backButtonTitle();
    if (!back.empty() && top->leftBarButtonItems().empty()) {
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setImageForState(UIImage::systemImageNamed("chevron.left"), UIControlStateNormal);
        button->setTitleForState(back, UIControlStateNormal);
        button->titleLabel()->setFont(UIFont::systemFontOfSize(17));
        CGSize s = button->titleLabel()->intrinsicContentSize();
        button->setFrame(CGRectMake(0, 0, s.width + 30, 30));
        button->addTargetActionForControlEvents(self(), sel("_backButtonPressed:"), UIControlEventTouchUpInside);
        addSubview(button);
        m_backView = button;
    }
    setNeedsLayout();
}

void UINavigationBar::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    CGFloat rowHeight = std::min<CGFloat>(b.height(), UINavigationController::kBarHeight);
    CGFloat x = kMargin;
    if (m_backView) {
        CGRect f = m_backView->frame();
        m_backView->setFrame(CGRectMake(x, (rowHeight - f.height()) / 2, f.width(), f.height()));
        x += f.width() + kItemGap;
    }
    for (auto& v : m_leftViews) {
        CGRect f = v->frame();
        v->setFrame(CGRectMake(x, (rowHeight - f.height()) / 2, f.width(), f.height()));
        x += f.width() + kItemGap;
    }
    CGFloat right = b.width() - kMargin;
    for (auto& v : m_rightViews) {
        CGRect f = v->frame();
        right -= f.width();
        v->setFrame(CGRectMake(right, (rowHeight - f.height()) / 2, f.width(), f.height()));
        right -= kItemGap;
    }
    if (m_searchView) {
        m_searchView->setFrame(CGRectMake(8, b.height() - kSearchBarHeight + 8, b.width() - 16, kSearchBarHeight - 16));
    }
    if (!m_titleView) return;
    if (showsLargeTitle()) {
        if (auto label = cast<UILabel>(m_titleView)) label->setFont(UIFont::boldSystemFontOfSize(34));
        const CGFloat search = m_searchView ? kSearchBarHeight : 0;
        m_titleView->setFrame(CGRectMake(16, rowHeight, b.width() - 32, b.height() - rowHeight - search));
        return;
    }
    CGSize s = m_titleView->intrinsicContentSize();
    if (s.width < 0 || s.height < 0) s = m_titleView->frame().size;
    // Centred in the bar, but never under the items on either side.
    CGFloat room = std::max<CGFloat>(0, std::min(b.width() / 2 - x, right - b.width() / 2) * 2);
    CGFloat w = std::min(s.width, room);
    m_titleView->setFrame(CGRectMake((b.width() - w) / 2, (rowHeight - s.height) / 2, w, s.height));
}

CGRect UINavigationBar::drawnRect(const Ref<UIView>& itemView) {
    auto button = cast<UIButton>(itemView);
    if (!button || !button->currentImage() || !button->currentTitle().empty()) return itemView->frame();
    const Ref<UIImageView> image = button->imageView();
    return image->convertRectToView(image->bounds(), self<UIView>());
}

Ref<UIView> UINavigationBar::hitTest(CGPoint point) {
    Ref<UIView> hit = UIView::hitTest(point);
    if (!hit || point.y >= std::min<CGFloat>(bounds().height(), UINavigationController::kBarHeight)) return hit;
    std::vector<Ref<UIView>> itemViews = m_leftViews;
    itemViews.insert(itemViews.end(), m_rightViews.begin(), m_rightViews.end());
    if (m_backView) itemViews.push_back(m_backView);
    Ref<UIView> nearest;
    CGFloat nearestDistance = std::numeric_limits<CGFloat>::infinity();
    for (const Ref<UIView>& view : itemViews) {
        if (view->isHidden() || !view->isUserInteractionEnabled()) continue;
        const CGRect drawn = drawnRect(view);
        if (drawn.contains(point)) return view;
        const CGFloat distance = std::min(distanceTo(drawn, point), distanceTo(view->frame(), point));
        if (distance < nearestDistance) {
            nearest = view;
            nearestDistance = distance;
        }
    }
    if (hit.get() == this && nearest && nearestDistance <= kItemReach) return nearest;
    return hit;
}
