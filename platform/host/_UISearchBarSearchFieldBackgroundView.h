#pragma once

// The rounded background behind the text of a search field. The search field's layout sets its corner radius
// through the run-time ("setCornerRadius:", void(CGFloat)), so a replacement decides the radius it really gets.

#include "platform/ui/UIView.h"

class _UISearchBarSearchFieldBackgroundView : public UIView {
    VT_OBJECT(_UISearchBarSearchFieldBackgroundView, UIView)
public:
    // Sets the layer's corner radius.
    virtual void setCornerRadius(CGFloat radius);
    CGFloat cornerRadius() const;
};
