#pragma once

// Bundles of the simulated device: folders below the device root that hold resources and localized string
// tables in "<language>.lproj/<table>.strings".
//
// Localized lookup follows the device's languages (platform::setPreferredLanguages, "en" unless set). For each
// preferred language the candidates are the language itself, then with each trailing subtag dropped ("en-GB",
// then "en"; "-" and "_" spellings both); after all of them the development region (CFBundleDevelopmentRegion of
// the bundle's Info.plist, "en" when absent), then the bundle's top folder. The first candidate whose table holds
// the key gives the text, so a key missing from "en-GB" is found in "en".
//
// Parsed tables are cached per bundle; platform::flushBundleCaches() forgets them (a new process, or a test that
// edits a table).
//
// Loadable bundles (preference bundles) carry code: `load` opens the executable that CFBundleExecutable names in
// the bundle's folder with dlopen, once per process, and every class the load defines belongs to the bundle
// (bundleForClass), so its pages find their resources in its folder. The simulator keeps loaded code across the
// processes it plays in one program: a bundle whose code is already in (the same CFBundleIdentifier and
// executable name, or a principal class already defined) counts as loaded and is not opened again.

#include "platform/core/Object.h"
#include "platform/core/StringsTable.h"
#include "platform/core/Value.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSBundle : public NSObject {
    VT_OBJECT(NSBundle, NSObject)
public:
    // The bundle at a device folder; null when the folder does not exist (or is a file). The same object is
    // answered for the same path while it exists.
    static Ref<NSBundle> bundleWithPath(std::string_view devicePath);
    // The host application's bundle (platform::setMainBundlePath). Never null: until the host sets a path it is a
    // bundle with no folder, whose lookups answer as for a missing key.
    static Ref<NSBundle> mainBundle();

    // The device path given, without a trailing "/".
    const std::string& bundlePath() const { return m_path; }
    // Resources lie in the top folder of the bundle, as on iOS.
    const std::string& resourcePath() const { return m_path; }
    // The device path of "<name>.<type>" in the resources, then in the language folders in lookup order; nothing
    // when no such file exists. An empty type means the name carries its extension.
    std::optional<std::string> pathForResourceOfType(std::string_view name, std::string_view type);
    // The parsed Info.plist; a None value when it is missing or unreadable.
    const Value& infoDictionary();
    std::optional<std::string> bundleIdentifier();
    // CFBundleDevelopmentRegion, "en" when absent.
    std::string developmentRegion();

    // The text for `key` in `table` ("Localizable" when nothing or empty is given). A missing key gives `value`
    // when it is not empty, else the key itself.
    std::string localizedStringForKeyValueTable(std::string_view key, std::string_view value,
                                                std::optional<std::string_view> table);
    // The language folders (without ".lproj") in lookup order that exist in this bundle.
    std::vector<std::string> preferredLocalizations();

    // Lookups that found no text, in every bundle, since the last reset.
    static std::size_t missingKeyCount();
    static void resetMissingKeyCount();

    // Forgets the parsed tables and Info.plist of this bundle.
    void flushCaches();

    // ----- code -----  ("load" and "isLoaded" are published to the run-time)
    // The device path of the executable CFBundleExecutable names in the folder; nothing when the Info.plist names
    // none (or is missing) or no such file exists.
    std::optional<std::string> executablePath();
    // Loads the executable (see above). True when its code is in the process afterwards.
    bool load();
    // The same, answering nothing on success and else why it failed: no folder, no Info.plist, no executable named,
    // the executable missing, or not a library that can be loaded (with the loader's message).
    std::optional<std::string> loadAndReturnError();
    bool isLoaded();
    // Loads the bundle when needed and answers the class NSPrincipalClass names, else the first class the load
    // defined; null when the bundle cannot load or has no such class.
    Class principalClass();
    // The bundle whose load defined `cls`; the main bundle for classes of the host program, and for a bundle
    // whose folder is gone.
    static Ref<NSBundle> bundleForClass(Class cls);

private:
    // The table of one language folder ("" = top folder); null when the file is missing or unreadable.
    const platform::StringsTable* table(const std::string& language,
                                       const std::string& name);
    std::vector<std::string> lookupOrder();

    // The key of the loaded-code record: CFBundleIdentifier and executable name, else the path.
    std::string codeKey();

    std::string m_path;
    bool m_hasFolder = false;
    std::map<std::string, std::optional<platform::StringsTable>> m_tables;
    std::optional<Value> m_info;
};

namespace platform {

// The device's preferred languages, most preferred first ("en-GB", "fr"). An empty list means {"en"}.
void setPreferredLanguages(std::vector<std::string> languages);
std::vector<std::string> preferredLanguages();
// The device folder of the host application's bundle.
void setMainBundlePath(std::string devicePath);
// Forgets every bundle object and parsed table. Loaded code stays loaded.
void flushBundleCaches();
// Makes `cls` belong to `bundle` as if the bundle's load had defined it: for programs that link a bundle's code in
// (tests of its pages), whose classes exist before any load. Nothing for a null class or bundle.
void recordClassOfBundle(Class cls, const Ref<NSBundle>& bundle);
// How many times a bundle's executable was really opened in this program (each bundle at most once).
std::size_t bundleExecutableOpenCount();

}  // namespace platform
