#include "platform/ui/UITableViewHeaderFooterView.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableViewCell.h"

VT_REGISTER_CLASS(UITableViewHeaderFooterView, [](Class c) {
    platform::runtime::addMethod<&UITableViewHeaderFooterView::initWithReuseIdentifier>(c, "initWithReuseIdentifier:");
})


void UITableViewHeaderFooterView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    build();
}

void UITableViewHeaderFooterView::initWithReuseIdentifier(std::string reuseIdentifier) {
    m_reuseIdentifier = std::move(reuseIdentifier);
    initWithFrame(CGRectZero);
}

void UITableViewHeaderFooterView::build() {
    if (m_built) return;
    m_built = true;
    m_contentView = alloc<UIView>();
    m_contentView->initWithFrame(bounds());
    addSubview(m_contentView);
    m_textLabel = alloc<UILabel>();
    m_textLabel->initWithFrame(CGRectZero);
    m_contentView->addSubview(m_textLabel);
    setGroupedStyle(false);
}

void UITableViewHeaderFooterView::setGroupedStyle(bool grouped) {
    m_grouped = grouped;
    m_textLabel->setFont(grouped ? UIFont::systemFontOfSize(13) : UIFont::boldSystemFontOfSize(17));
    m_textLabel->setTextColor(grouped ? UIColor::secondaryLabelColor() : UIColor::labelColor());
    setNeedsLayout();
}

void UITableViewHeaderFooterView::setBackgroundView(Ref<UIView> view) {
    if (m_backgroundView) m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) insertSubviewAtIndex(m_backgroundView, 0);
    setNeedsLayout();
}

void UITableViewHeaderFooterView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    if (m_backgroundView) m_backgroundView->setFrame(b);
    m_contentView->setFrame(b);
    CGSize t = m_textLabel->intrinsicContentSize();
    // Grouped titles sit on the bottom edge, plain ones in the middle.
    CGFloat y = m_grouped ? b.height() - t.height - 6 : (b.height() - t.height) / 2;
    m_textLabel->setFrame(CGRectMake(UITableViewCell::kSideMargin, y, std::max<CGFloat>(0, b.width() - 2 * UITableViewCell::kSideMargin), t.height));
}
