#include "platform/core/CFPreferences.h"

#include "platform/core/PreferenceDomain.h"

Value CFPreferencesCopyAppValue(std::string_view key, std::string_view domain) {
    auto store = platform::PreferenceDomain::named(domain);
    return store ? store->value(key) : Value();
}

void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view domain) {
    if (auto store = platform::PreferenceDomain::named(domain)) store->write({{std::string(key), value}});
}
