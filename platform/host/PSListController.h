#pragma once

// A page of the Settings application: a controller showing one row (or group header) per specifier of its list.
//
// Published to the run-time, and called by the platform only through msgSend so that replacements take effect:
//   "specifiers"            Ref<NSMutableArray> specifiers()       the page's list (see below)
//   "setSpecifiers:"        void setSpecifiers(Ref<NSMutableArray>)
//   "setEdgeToEdgeCells:"   void setEdgeToEdgeCells(bool)
//   "_isRegularWidth"       bool _isRegularWidth()
// and the instance variable "_specifiers" (the list object itself, a held null when the page has none yet).
//
// Pages override `specifiers` with one pattern: if `_specifiers` is empty, fill it, then return it. The list is
// shared by reference, so a page given another page's list shows that very object.
//
// When its view loads, a page asks `_isRegularWidth` to choose its layout and then asks for edge-to-edge cells
// exactly when the width is not regular, as the device's pages do on a phone. Both answers are kept for tests.

#include "platform/ui/UIViewController.h"

#include <optional>

class NSMutableArray;

class PSListController : public UIViewController {
    VT_OBJECT(PSListController, UIViewController)
public:
    // The page's list: `_specifiers`, null when nothing filled it yet.
    virtual Ref<NSMutableArray> specifiers();
    // Replaces `_specifiers` by `list` (the object itself, not a copy). Null empties the page.
    virtual void setSpecifiers(Ref<NSMutableArray> list);
    const Ref<NSMutableArray>& specifiersIvar() const { return m_specifiers; }

    virtual void setEdgeToEdgeCells(bool on);
    bool edgeToEdgeCells() const { return m_edgeToEdgeCells; }
    // Regular width is the width of a tablet: a screen at least 700 points wide.
    virtual bool _isRegularWidth();
    // What `_isRegularWidth` answered when the view loaded; nothing before.
    std::optional<bool> usesRegularWidthLayout() const { return m_regularWidthLayout; }

    void viewDidLoad() override;

protected:
    Ref<NSMutableArray> m_specifiers;

private:
    bool m_edgeToEdgeCells = false;
    std::optional<bool> m_regularWidthLayout;
};
