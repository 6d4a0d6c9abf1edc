// The injection loader's filter reader. A library's filter decides which processes it is loaded into, so a filter
// read wrongly puts code where it was never meant to run. A refused filter stays refused; an accepted one keeps
// exactly the names it was given, admits a process every given list names (or, in "Any" mode, one list names),
// and never admits a process no list names. Reading twice gives the same filter.

#include "platform/core/PropertyList.h"
#include "sim/install/LoaderFilter.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

using sim::install::LoaderFilter;
using sim::install::ProcessIdentity;

// The names the plist gives under `key`, when that is an array of strings.
std::optional<std::vector<std::string>> namesIn(const Value& filter, const char* key) {
    const Value* value = filter.find(key);
    if (!value || !value->asArray()) return std::nullopt;
    std::vector<std::string> names;
    for (const Value& item : *value->asArray()) names.push_back(*item.asString());
    return names;
}

bool sameFilter(const LoaderFilter& a, const LoaderFilter& b) {
    return a.bundles == b.bundles && a.executables == b.executables && a.classes == b.classes &&
           a.anyMode == b.anyMode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Value> plist = platform::parsePropertyList(std::span<const std::uint8_t>(data, size));
    if (!plist) return 0;
    const std::optional<LoaderFilter> filter = sim::install::loaderFilterFromPlist(*plist);
    const std::optional<LoaderFilter> again = sim::install::loaderFilterFromPlist(*plist);
    fuzz::require(filter.has_value() == again.has_value(), "a filter was judged differently on a second read");
    if (!filter) return 0;
    fuzz::require(sameFilter(*filter, *again), "a filter read twice differs");

    const Value& given = *plist->find("Filter");
    fuzz::require(given.isDictionary(), "a filter without a Filter dictionary was accepted");
    fuzz::require(filter->bundles == namesIn(given, "Bundles"), "the bundle list differs from the plist's");
    fuzz::require(filter->executables == namesIn(given, "Executables"), "the executable list differs");
    fuzz::require(filter->classes == namesIn(given, "Classes"), "the class list differs from the plist's");

    // A process nothing names: no bundle or an unlisted one, an unlisted executable, none of the classes.
    const auto noClass = [](const std::string&) { return false; };
    const ProcessIdentity stranger{std::nullopt, ""};
    fuzz::require(!filter->admits(stranger, noClass), "a process no list names was admitted");

    const auto first = [](const std::optional<std::vector<std::string>>& list) -> std::optional<std::string> {
        if (!list || list->empty()) return std::nullopt;
        return list->front();
    };
    const bool anyList = filter->bundles || filter->executables || filter->classes;
    const bool everyListNamesSomething = (!filter->bundles || first(filter->bundles)) &&
                                         (!filter->executables || (first(filter->executables) &&
                                                                   !first(filter->executables)->empty())) &&
                                         (!filter->classes || first(filter->classes));
    const ProcessIdentity named{first(filter->bundles), first(filter->executables).value_or("")};
    const bool namedAdmitted = filter->admits(named, [&](const std::string& c) {
        return filter->classes && c == filter->classes->front();
    });
    if (!anyList) fuzz::require(!namedAdmitted, "a filter with no list admitted a process");
    if (anyList && everyListNamesSomething)
        fuzz::require(namedAdmitted, "a process every list names was refused");

    // Named by the bundle list alone: enough in "Any" mode, enough otherwise only when it is the only list.
    if (auto bundle = first(filter->bundles)) {
        const bool alone = filter->admits(ProcessIdentity{bundle, ""}, noClass);
        const bool onlyList = !filter->executables && !filter->classes;
        fuzz::require(alone == (filter->anyMode || onlyList), "a bundle named alone was judged against the mode");
    }
    return 0;
}
