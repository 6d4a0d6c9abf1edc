#include "platform/host/_UISearchBarSearchFieldBackgroundView.h"

#include "platform/core/Runtime.h"
#include "platform/ui/CALayer.h"

// A UIKit class, present in every process that has views.
VT_REGISTER_CLASS(_UISearchBarSearchFieldBackgroundView, [](Class c) {
    platform::runtime::addMethod<&_UISearchBarSearchFieldBackgroundView::setCornerRadius>(c, "setCornerRadius:");
})

void _UISearchBarSearchFieldBackgroundView::setCornerRadius(CGFloat radius) { layer()->setCornerRadius(radius); }

CGFloat _UISearchBarSearchFieldBackgroundView::cornerRadius() const { return layer()->cornerRadius(); }
