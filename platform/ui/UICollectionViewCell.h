#pragma once

// An item of a collection view. Its content view fills it and already has the cell's bounds inside
// initWithFrame, so a cell can build its content there.

#include "platform/ui/UIView.h"

#include <string>

class UICollectionViewCell : public UIView {
    VT_OBJECT(UICollectionViewCell, UIView)
public:
    void initWithFrame(CGRect frame) override;

    Ref<UIView> contentView() const { return m_contentView; }
    Ref<UIView> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(Ref<UIView> view);
    Ref<UIView> selectedBackgroundView() const { return m_selectedBackgroundView; }
    void setSelectedBackgroundView(Ref<UIView> view);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted) { m_highlighted = highlighted; }

    // Set by the collection view when it creates the cell.
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }
    void setReuseIdentifier(std::string identifier) { m_reuseIdentifier = std::move(identifier); }

    // Published as "prepareForReuse"; sent before a reused cell is handed out again.
    virtual void prepareForReuse();

    void layoutSubviews() override;

private:
    Ref<UIView> m_contentView;
    Ref<UIView> m_backgroundView;
    Ref<UIView> m_selectedBackgroundView;
    std::string m_reuseIdentifier;
    bool m_selected = false;
    bool m_highlighted = false;
};
