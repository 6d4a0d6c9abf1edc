#pragma once

// One device for the card and grid tests of the whole test program: the card files' start-up constructors bind
// their preferences objects once per process, as on the device, so every test uses the same device root (with the
// shipped localization tables and an icon file for every card) and clears the keys it touches.

#include "tweak/cards/CardKind.h"
#include "tweak/cards/CardStartup.h"
#include "tweak/cards/VantileCardCell.h"
#include "tweak/cards/VantileCatalogue.h"

#include "common/Keys.h"
#include "platform/core/Value.h"
#include "platform/gfx/UIColor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using RGBA = platform::RGBA;

namespace vantile::testing {

class CardFixture : public ::testing::Test {
public:
    static constexpr std::uint64_t kSeed = 20261207;
    static RGBA rgba(const Ref<UIColor>& color) { return color->resolvedColorWithStyle(1); }
    static void expectColour(const Ref<UIColor>& color, RGBA expected, const std::string& what);

protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Writes one key of the domain in this process (None removes it); bound variables follow at once.
    static void store(std::string_view key, Value value);
    static Value titles(const std::vector<std::string>& list);

    // A card of the named class built as the grid builds it (createInstance + "initWithFrame:"), in `style`.
    static Ref<VantileCardCell> makeCard(std::string_view cardClass, CGRect frame, long style = 1);
    // A root view of the main screen's size that acts as the window.
    static Ref<UIView> makeRoot();
};

}  // namespace vantile::testing
