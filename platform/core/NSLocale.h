#pragma once

// Locales on ICU's data, as the device's own are. The device's current locale is its most preferred language
// (platform::preferredLanguages, "en" unless set): "en" writes as the United States do, "en-GB" or "en_GB" as the
// United Kingdom, "de" as Germany.
//
// The autoupdating current locale follows the device: a locale object that answers the identifier in force at the
// moment it is asked. A change of the device's language while a process runs is announced with
// NSCurrentLocaleDidChangeNotification on the default centre (platform::currentLocaleDidChange), on the main
// thread, where the simulated device changes it.

#include "platform/core/Object.h"

#include <string>
#include <string_view>

inline constexpr std::string_view NSCurrentLocaleDidChangeNotification = "kCFLocaleCurrentLocaleDidChangeNotification";

class NSLocale : public NSObject {
    VT_OBJECT(NSLocale, NSObject)
public:
    // A fixed locale of that identifier ("en_US", "en-GB", "de"), canonicalised as ICU writes it ("en_GB"). An
    // identifier that ICU has no data for still gives a locale (the device accepts any identifier); its formats are
    // then the root locale's. Use isKnownLocaleIdentifier to tell.
    static Ref<NSLocale> localeWithLocaleIdentifier(std::string_view identifier);
    // The device's locale now, fixed: it does not follow later changes.
    static Ref<NSLocale> currentLocale();
    // One shared object that always answers the device's locale in force when asked.
    static Ref<NSLocale> autoupdatingCurrentLocale();

    // ICU's canonical form of an identifier ("en-GB" → "en_GB"); empty for an empty or malformed identifier.
    static std::string canonicalLocaleIdentifier(std::string_view identifier);
    // True when ICU has locale data for the identifier's language (and its country, when one is given), so that
    // formats and month names are really that locale's.
    static bool isKnownLocaleIdentifier(std::string_view identifier);

    // The identifier in ICU's canonical form; for the autoupdating locale, the current one at the time of asking.
    std::string localeIdentifier() const;
    bool isAutoupdating() const { return m_autoupdating; }

private:
    std::string m_identifier;
    bool m_autoupdating = false;
};

namespace platform {

// Posts NSCurrentLocaleDidChangeNotification (object null) on the default centre. The simulated device calls it
// after it changed the preferred languages of a running process.
void currentLocaleDidChange();

}  // namespace platform
