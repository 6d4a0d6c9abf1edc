#include "platform/core/NSLocale.h"

#include "platform/core/NSBundle.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/Runtime.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>

#include <cstring>

VT_REGISTER_CLASS(NSLocale)

namespace {

std::string currentIdentifier() {
    const auto languages = platform::preferredLanguages();
    const std::string first = languages.empty() ? std::string("en") : languages.front();
    std::string canonical = NSLocale::canonicalLocaleIdentifier(first);
    return canonical.empty() ? std::string("en") : canonical;
}

}  // namespace

std::string NSLocale::canonicalLocaleIdentifier(std::string_view identifier) {
    if (identifier.empty()) return {};
    // Language tags ("en-GB") and ICU identifiers ("en_GB") alike.
    std::string text(identifier);
    for (char& c : text)
        if (c == '-') c = '_';
    icu::Locale locale = icu::Locale::createCanonical(text.c_str());
    if (locale.isBogus() || std::strlen(locale.getLanguage()) == 0) return {};
    return locale.getName();
}

bool NSLocale::isKnownLocaleIdentifier(std::string_view identifier) {
    const std::string canonical = canonicalLocaleIdentifier(identifier);
    if (canonical.empty()) return false;
    icu::Locale wanted(canonical.c_str());
    // Script-free language plus country, as the available list names them ("en", "en_GB", "de_AT").
    const std::string language = wanted.getLanguage();
    const std::string country = wanted.getCountry();
    const std::string base = country.empty() ? language : language + "_" + country;
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        icu::Locale candidate = available[i];
        std::string name = candidate.getLanguage();
        if (std::strlen(candidate.getCountry()) > 0) name += std::string("_") + candidate.getCountry();
        if (name == base) return true;
    }
    return false;
}

Ref<NSLocale> NSLocale::localeWithLocaleIdentifier(std::string_view identifier) {
    auto locale = alloc<NSLocale>();
    locale->m_identifier = canonicalLocaleIdentifier(identifier);
    return locale;
}

Ref<NSLocale> NSLocale::currentLocale() { return localeWithLocaleIdentifier(currentIdentifier()); }

Ref<NSLocale> NSLocale::autoupdatingCurrentLocale() {
    static auto* shared = new Ref<NSLocale>([] {
        auto locale = alloc<NSLocale>();
        locale->m_autoupdating = true;
        return locale;
    }());
    return *shared;
}

std::string NSLocale::localeIdentifier() const { return m_autoupdating ? currentIdentifier() : m_identifier; }

namespace platform {

void currentLocaleDidChange() {
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(NSCurrentLocaleDidChangeNotification, nullptr);
}

}  // namespace platform
