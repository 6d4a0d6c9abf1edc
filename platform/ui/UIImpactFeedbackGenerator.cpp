#include "platform/ui/UIImpactFeedbackGenerator.h"

#include "platform/core/Runtime.h"
#include "platform/ui/EffectLog.h"

VT_REGISTER_CLASS(UIImpactFeedbackGenerator, [](Class c) {
    platform::runtime::addMethod<&UIImpactFeedbackGenerator::impactOccurred>(c, "impactOccurred");
})

void UIImpactFeedbackGenerator::impactOccurred() { platform::recordEffect("impact", {}, m_style); }
