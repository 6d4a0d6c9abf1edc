#pragma once

// Foundation's user defaults, as far as the add-on uses them: single keys of a named domain, on the same store as
// HBPreferences and CFPreferences (PreferenceDomain.h).

#include "platform/core/Object.h"
#include "platform/core/Value.h"

#include <string_view>

class NSUserDefaults : public NSObject {
    VT_OBJECT(NSUserDefaults, NSObject)
public:
    // One object for the process.
    static Ref<NSUserDefaults> standardUserDefaults();

    // The stored value; None when absent or when the domain name is refused.
    Value objectForKeyInDomain(std::string_view key, std::string_view domain) const;
    // A None value removes the key. A refused domain name writes nothing (counted).
    void setObjectForKeyInDomain(const Value& value, std::string_view key, std::string_view domain);
    void removeObjectForKeyInDomain(std::string_view key, std::string_view domain);
};
