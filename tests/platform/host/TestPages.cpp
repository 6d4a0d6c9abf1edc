#include "tests/platform/host/TestPages.h"

#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"

VT_REGISTER_CLASS_IN(HostTestPage, "Preferences")
VT_REGISTER_CLASS_IN(HostRegularWidthPage, "Preferences")
VT_REGISTER_CLASS_IN(HostInsetPage, "Preferences")
void HostTestTarget::buttonPressedBy(id sender) {
    auto row = cast<PSSpecifier>(sender);
    presses.push_back("buttonPressedBy:" + (row ? row->name() : std::string("nil")));
}

VT_REGISTER_CLASS(HostTestTarget, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&HostTestTarget::buttonPressed>(c, "buttonPressed");
    addMethod<&HostTestTarget::buttonPressedBy>(c, "buttonPressedBy:");
    addMethod<&HostTestTarget::readValue>(c, "readValue:");
    addMethod<&HostTestTarget::writeValue>(c, "writeValue:specifier:");
})

Value HostTestTarget::readValue(Ref<PSSpecifier> specifier) { return Value("from target: " + specifier->name()); }
