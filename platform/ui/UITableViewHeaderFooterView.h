#pragma once

// A section header or footer of a table: a content view and a title label. The table creates one for every
// section with a title when the delegate gives no view of its own.

#include "platform/ui/UIView.h"

#include <string>

class UILabel;

class UITableViewHeaderFooterView : public UIView {
    VT_OBJECT(UITableViewHeaderFooterView, UIView)
public:
    // Published as "initWithReuseIdentifier:" (void(std::string)).
    virtual void initWithReuseIdentifier(std::string reuseIdentifier);
    void initWithFrame(CGRect frame) override;

    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }
    Ref<UIView> contentView() const { return m_contentView; }
    // Created with the view; never null. Grouped tables show the title in upper case, as the device does.
    Ref<UILabel> textLabel() const { return m_textLabel; }
    Ref<UIView> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(Ref<UIView> view);
    // Set by the table: the section shown, and whether the table is grouped (which changes the title's look).
    long section() const { return m_section; }
    void setSection(long section) { m_section = section; }
    void setGroupedStyle(bool grouped);

    void layoutSubviews() override;

private:
    void build();

    std::string m_reuseIdentifier;
    Ref<UIView> m_contentView;
    Ref<UILabel> m_textLabel;
    Ref<UIView> m_backgroundView;
    long m_section = -1;
    bool m_grouped = false;
    bool m_built = false;
};
