// The tweak's card colour reader against the preference bundle's codec. Both read the same stored strings, so on
// every string of 3, 4, 6 or 8 UTF-16 units that does not begin with "#" they must give the same channels (a card
// and the picker's preview must show one colour). They differ by design elsewhere: the card reader removes no "#"
// and answers transparent black where the codec answers no colour.

#include "platform/core/NSString.h"
#include "prefs/cells/ChromaCodec.h"
#include "tests/fuzz/FuzzValue.h"
#include "tweak/cards/VantileCardCell.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Ref<UIColor> card = VantileCardCell::cardColorFromHexString(text);
    fuzz::require(static_cast<bool>(card), "the card reader gave no colour");
    const std::size_t length = platform::utf16Length(text);
    const bool colourLength = length == 3 || length == 4 || length == 6 || length == 8;
    if (!colourLength) {
        fuzz::require(card->rgba() == UIColor::RGBA{}, "a string of another length is not transparent black");
        return 0;
    }
    if (text.starts_with('#')) return 0;
    const Ref<UIColor> codec = chroma::colorFromHexString(text);
    fuzz::require(static_cast<bool>(codec), "the codec refused a string the card reader takes");
    fuzz::require(card->rgba() == codec->rgba(), "the card and the picker read one string as two colours");
    return 0;
}
