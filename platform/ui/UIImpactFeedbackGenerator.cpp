#include "platform/ui/UIImpactFeedbackGenerator.h"

#include "platform/core/EffectSink.h"
#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(UIImpactFeedbackGenerator, [](Class c) {
    platform::runtime::addMethod<&UIImpactFeedbackGenerator::impactOccurred>(c, "impactOccurred");
})

void UIImpactFeedbackGenerator::impactOccurred() { platform::recordEffect("impact", {}, m_style); }
