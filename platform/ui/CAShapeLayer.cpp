#include "platform/ui/CAShapeLayer.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(CAShapeLayer)

Ref<CAShapeLayer> CAShapeLayer::layer() {
    auto l = alloc<CAShapeLayer>();
    l->init();
    return l;
}
