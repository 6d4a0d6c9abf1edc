// The specifier-plist loader. A bundle's list file comes from whoever wrote the bundle, so any entry may be of the
// wrong shape: such entries are skipped and the rest still load. An accepted entry keeps its dictionary as its
// properties, key for key, since the pane's rows read their settings from there; a group header is never the
// target of a row's getter or setter. Reading the file from the bundle folder gives what the entries give.

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"
#include "platform/host/PSListController.h"
#include "platform/host/PSSpecifier.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Fuzz.bundle";

// A device root of its own for the whole run: the loader reads its file below it, and nothing else is written.
const std::filesystem::path& deviceRoot() {
    static const std::filesystem::path root = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "specifier-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) fuzz::broken("no temporary device root");
        std::filesystem::path made(pattern);
        std::filesystem::create_directories(made / std::string(kBundle).substr(1));
        platform::setDeviceRoot(made);
        platform::runtime::enableClassGroup("Preferences");
        platform::setMainBundlePath("/Applications/Preferences.app");
        std::atexit([] { std::filesystem::remove_all(deviceRoot()); });
        return made;
    }();
    return root;
}

// An accepted entry against the dictionary it came from.
void checkEntry(const PSSpecifier& entry, const Value::Dictionary& dictionary) {
    for (const auto& [key, value] : dictionary) {
        const auto property = entry.propertyForKey(key);
        fuzz::require(property && property->value(), "a key of an entry is missing from its properties");
        fuzz::require(fuzz::sameValue(*property->value(), value), "a property differs from its entry's value");
    }
    for (const auto& [key, property] : entry.properties()) {
        // The icon's image is the one property the loader adds, and only for an entry naming an icon.
        if (key == "iconImage" && dictionary.contains("icon") && property.isObject()) continue;
        fuzz::require(dictionary.contains(key), "an entry has a property its dictionary lacks");
    }
    if (entry.isGroup()) fuzz::require(!entry.target(), "a group header has a target");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& root = deviceRoot();
    const std::optional<Value> parsed = platform::parsePropertyList(std::span<const std::uint8_t>(data, size));
    if (!parsed) return 0;
    const Value* items = parsed->asArray() ? &*parsed : parsed->find("items");

    auto page = alloc<PSListController>();
    page->init();
    page->setBundlePath(kBundle);
    const id target = page;

    std::size_t accepted = 0;
    if (items && items->asArray()) {
        const Value::Array& array = *items->asArray();
        const auto all = PSListController::specifiersFromItems(array, target, kBundle);
        std::size_t next = 0;
        for (const Value& item : array) {
            const auto alone = PSListController::specifiersFromItems(Value::Array{item}, target, kBundle);
            fuzz::require(alone->count() <= 1, "one entry made several rows");
            if (!item.asDictionary()) {
                fuzz::require(alone->count() == 0, "an entry that is no dictionary was accepted");
                continue;
            }
            if (alone->count() == 0) continue;
            fuzz::require(next < all->count(), "an entry accepted alone was skipped in its list");
            const auto entry = all->objectAtIndexAs<PSSpecifier>(next++);
            fuzz::require(static_cast<bool>(entry), "a list entry is no specifier");
            checkEntry(*entry, *item.asDictionary());
            checkEntry(*alone->objectAtIndexAs<PSSpecifier>(0), *item.asDictionary());
        }
        fuzz::require(next == all->count(), "a list holds entries no dictionary accepted alone");
        accepted = all->count();
    }

    // The same bytes as the bundle's list file: only a dictionary's "items" count there.
    {
        std::ofstream file(root / (std::string(kBundle).substr(1) + "/Fuzz.plist"), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    platform::flushBundleCaches();
    const auto loaded = page->loadSpecifiersFromPlistNameTarget("Fuzz", target);
    const std::size_t expected = parsed->asDictionary() ? accepted : 0;
    fuzz::require(loaded && loaded->count() == expected, "the list file gave other rows than its entries");
    return 0;
}
