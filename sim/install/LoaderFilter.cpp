#include "sim/install/LoaderFilter.h"

#include <algorithm>

namespace sim::install {
namespace {

// Nothing for a missing key; an empty optional inside for a key whose value is no array of strings, which the
// caller refuses as a whole.
std::optional<std::optional<std::vector<std::string>>> stringList(const Value& filter, std::string_view key) {
    const Value* value = filter.find(key);
    if (!value) return std::optional<std::vector<std::string>>{};
    const auto* array = value->asArray();
    if (!array) return std::nullopt;
    std::vector<std::string> names;
    for (const Value& item : *array) {
        const auto* s = item.asString();
        if (!s) return std::nullopt;
        names.push_back(*s);
    }
    return std::optional<std::vector<std::string>>(std::move(names));
}

bool contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

bool LoaderFilter::admits(const ProcessIdentity& process, const std::function<bool(const std::string&)>& hasClass) const {
    std::vector<bool> verdicts;
    if (bundles) verdicts.push_back(process.bundleIdentifier && contains(*bundles, *process.bundleIdentifier));
    if (executables) verdicts.push_back(!process.executableName.empty() && contains(*executables, process.executableName));
    if (classes)
        verdicts.push_back(hasClass && std::any_of(classes->begin(), classes->end(), [&](const std::string& c) {
                               return hasClass(c);
                           }));
    if (verdicts.empty()) return false;
    return anyMode ? std::find(verdicts.begin(), verdicts.end(), true) != verdicts.end()
                   : std::find(verdicts.begin(), verdicts.end(), false) == verdicts.end();
}

std::optional<LoaderFilter> loaderFilterFromPlist(const Value& plist) {
    const Value* filter = plist.find("Filter");
    if (!filter || !filter->isDictionary()) return std::nullopt;
    LoaderFilter result;
    auto bundles = stringList(*filter, "Bundles");
    auto executables = stringList(*filter, "Executables");
    auto classes = stringList(*filter, "Classes");
    if (!bundles || !executables || !classes) return std::nullopt;
    result.bundles = std::move(*bundles);
    result.executables = std::move(*executables);
    result.classes = std::move(*classes);
    if (const Value* mode = filter->find("Mode")) {
        const auto* s = mode->asString();
        if (!s) return std::nullopt;
        result.anyMode = *s == "Any";
    }
    return result;
}

}  // namespace sim::install
