#pragma once

// The device's private "_viewControllerForAncestor": the view controller that shows a view, found by walking from
// the view up its superviews to the first whose controller owns it. Published on UIView as
//   "_viewControllerForAncestor"   Ref<UIViewController> ()
// Null when no view up the chain belongs to a controller (a view in no controller's tree, or a null view).

#include "platform/core/Object.h"

class UIView;
class UIViewController;

namespace platform {

Ref<UIViewController> viewControllerForAncestor(const Ref<UIView>& view);

}  // namespace platform
