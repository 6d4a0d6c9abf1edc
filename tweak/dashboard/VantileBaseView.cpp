#include "tweak/dashboard/VantileBaseView.h"

#include "tweak/dashboard/VantileCollectionView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"

VT_REGISTER_CLASS(VantileBaseView, [](Class c) {
    platform::runtime::addMethod<&VantileBaseView::initWithFrame>(c, "initWithFrame:");
    platform::runtime::addMethod<&VantileBaseView::layoutVantileView>(c, "layoutVantileView");
})

namespace {

struct DashboardState {
    Ref<UILabel> firstTimeLabel;
    Ref<VantileCollectionView> grid;
};

DashboardState& dashboardState() {
    static DashboardState* s = new DashboardState;
    return *s;
}


}  // namespace

const Ref<UILabel>& VantileBaseView::firstTimeLabel() { return dashboardState().firstTimeLabel; }

const Ref<VantileCollectionView>& VantileBaseView::vantileCollectionView() { return dashboardState().grid; }

CGFloat VantileBaseView::gridBottomMarginForScreenHeight(CGFloat height) { return height < 800 ? 40 : 75; }

void VantileBaseView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    platform::msgSend(this, sel("layoutVantileView"));
}

void VantileBaseView::layoutVantileView() {
    const bool listStored = VantileCollectionView::readStoredTitles().has_value();
    const CGRect screen = UIScreen::mainScreen()->bounds();

    m_baseView = alloc<UIView>();
    m_baseView->initWithFrame(CGRect{{0, 0}, {screen.width(), screen.height()}});
    m_baseView->setUserInteractionEnabled(true);
    addSubview(m_baseView);

    auto label = alloc<UILabel>();
    label->init();
    label->setText(kHintText);
    label->setFont(UIFont::boldSystemFontOfSize(kHintFontSize));
    label->setTextColor(UIColor::colorWithRedGreenBlueAlpha(1.0, 0.23, 0.19, 1.0));
    label->setNumberOfLines(3);
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setHidden(true);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_baseView->addSubview(label);
    label->centerXAnchor().constraintEqualToAnchor(m_baseView->centerXAnchor())->setActive(true);
    label->centerYAnchor().constraintEqualToAnchor(m_baseView->centerYAnchor())->setActive(true);
    label->leadingAnchor().constraintEqualToAnchorConstant(m_baseView->leadingAnchor(), kHintInset)->setActive(true);
    label->trailingAnchor().constraintEqualToAnchorConstant(m_baseView->trailingAnchor(), -kHintInset)->setActive(true);
    label->setHidden(listStored);
    dashboardState().firstTimeLabel = label;

    auto grid = alloc<VantileCollectionView>();
    platform::msgSend<void, CGRect>(grid.get(), sel("initWithFrame:"), CGRectZero);
    grid->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_baseView->addSubview(grid);
    grid->topAnchor().constraintEqualToAnchorConstant(m_baseView->topAnchor(), kGridTop)->setActive(true);
    grid->leadingAnchor().constraintEqualToAnchorConstant(m_baseView->leadingAnchor(), kGridSideInset)->setActive(true);
    grid->trailingAnchor().constraintEqualToAnchorConstant(
        m_baseView->trailingAnchor(), -kGridSideInset)->setActive(true);
    grid->bottomAnchor().constraintEqualToAnchorConstant(
        m_baseView->bottomAnchor(), -gridBottomMarginForScreenHeight(screen.height()))->setActive(true);
    dashboardState().grid = grid;
}
