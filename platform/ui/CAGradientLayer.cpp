#include "platform/ui/CAGradientLayer.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(CAGradientLayer)

Ref<CAGradientLayer> CAGradientLayer::layer() {
    auto l = alloc<CAGradientLayer>();
    l->init();
    return l;
}
