// The preference bundle's colour codec. The length after one optional "#" alone decides whether a string is a
// colour; a colour read writes as eight digits, and those read back as exactly the channels that were written, so
// the picker never drifts a colour the user did not touch.

#include "platform/core/NSString.h"
#include "prefs/cells/ChromaCodec.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Ref<UIColor> color = chroma::colorFromHexString(text);
    const std::string_view digits = text.starts_with('#') ? text.substr(1) : text;
    const std::size_t length = platform::utf16Length(digits);
    const bool colourLength = length == 3 || length == 4 || length == 6 || length == 8;
    fuzz::require(static_cast<bool>(color) == colourLength, "a colour string was judged by more than its length");
    if (!color) return 0;

    const std::string stored = chroma::stringFromColor(color);
    fuzz::require(stored.size() == 8, "a stored colour is not eight digits");
    const Ref<UIColor> reread = chroma::colorFromHexString(stored);
    fuzz::require(static_cast<bool>(reread), "a stored colour was refused");
    // Every channel read is a whole number of 255ths (one digit is read doubled), so eight digits hold it exactly.
    fuzz::require(reread->rgba() == color->rgba(), "a stored colour reads back as another colour");
    fuzz::require(chroma::stringFromColor(reread) == stored, "a stored colour drifts through a rewrite");
    return 0;
}
