#include "platform/core/NSUserDefaults.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(NSUserDefaults)

Ref<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
    static const Ref<NSUserDefaults> shared = alloc<NSUserDefaults>();
    return shared;
}

Value NSUserDefaults::objectForKeyInDomain(std::string_view key, std::string_view domain) const {
    return CFPreferencesCopyAppValue(key, domain);
}

void NSUserDefaults::setObjectForKeyInDomain(const Value& value, std::string_view key, std::string_view domain) {
    CFPreferencesSetAppValue(key, value, domain);
}

void NSUserDefaults::removeObjectForKeyInDomain(std::string_view key, std::string_view domain) {
    CFPreferencesSetAppValue(key, Value(), domain);
}
