#include "platform/core/DictionaryFile.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/PropertyList.h"

namespace platform {
namespace {

std::optional<std::filesystem::path> resolve(std::string_view path) {
    constexpr std::string_view scheme = "file://";
    if (path.substr(0, scheme.size()) == scheme) path.remove_prefix(scheme.size());
    return devicePath(path);
}

// A plain file is opened where its links lead, and only when that is inside the device root.
std::optional<std::filesystem::path> plainFile(const std::filesystem::path& hostPath) {
    return resolveInsideDeviceRoot(hostPath);
}

}  // namespace

std::optional<Value::Dictionary> dictionaryWithContentsOfFile(std::string_view path) {
    auto file = resolve(path);
    if (!file) return std::nullopt;
    if (auto domain = PreferenceDomain::forFile(*file)) {
        auto snapshot = domain->snapshot();
        if (domain->fileState() != PreferenceDomain::FileState::Readable) return std::nullopt;
        return *snapshot;
    }
    const auto plain = plainFile(*file);
    if (!plain) return std::nullopt;
    auto value = readPropertyListFile(*plain);
    if (!value || !value->isDictionary()) return std::nullopt;
    return std::move(*value->asDictionary());
}

bool writeDictionaryToFile(std::string_view path, const Value::Dictionary& dict) {
    auto file = resolve(path);
    if (!file) return false;
    if (auto domain = PreferenceDomain::forFile(*file)) return domain->replace(dict);
    const auto plain = plainFile(*file);
    return plain && writePropertyListFile(*plain, Value(dict));
}

Value dictionaryValueOfFile(std::string_view devicePath) {
    auto dict = dictionaryWithContentsOfFile(devicePath);
    return dict ? Value(std::move(*dict)) : Value();
}

}  // namespace platform
