#include "platform/ui/UICollectionViewCell.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(UICollectionViewCell, [](Class c) {
    platform::runtime::addMethod<&UICollectionViewCell::prepareForReuse>(c, "prepareForReuse");
})

void UICollectionViewCell::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_contentView = alloc<UIView>();
    m_contentView->initWithFrame(bounds());
    addSubview(m_contentView);
}

void UICollectionViewCell::setBackgroundView(Ref<UIView> view) {
    if (m_backgroundView) m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubviewAtIndex(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

void UICollectionViewCell::setSelectedBackgroundView(Ref<UIView> view) {
    if (m_selectedBackgroundView) m_selectedBackgroundView->removeFromSuperview();
    m_selectedBackgroundView = std::move(view);
    setSelected(m_selected);
}

void UICollectionViewCell::setSelected(bool selected) {
    m_selected = selected;
    if (!m_selectedBackgroundView) return;
    if (selected && m_selectedBackgroundView->superview().get() != this) {
        insertSubviewAtIndex(m_selectedBackgroundView, m_backgroundView ? 1 : 0);
        m_selectedBackgroundView->setFrame(bounds());
    } else if (!selected) {
        m_selectedBackgroundView->removeFromSuperview();
    }
}

void UICollectionViewCell::prepareForReuse() {
    setSelected(false);
    setHighlighted(false);
}

void UICollectionViewCell::layoutSubviews() {
    UIView::layoutSubviews();
    m_contentView->setFrame(bounds());
    if (m_backgroundView) m_backgroundView->setFrame(bounds());
    if (m_selectedBackgroundView && m_selected) m_selectedBackgroundView->setFrame(bounds());
}
