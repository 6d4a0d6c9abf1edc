// The dashboard drawn as the phone shows it: rounded card tiles in the appearance's colour with their icons, on
// the page's background, at the grid's positions.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/dashboard/VantileBaseView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/Bitmap.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/DashboardFixture.h"

#include <cmath>

namespace {

using vantile::testing::CardFixture;

struct Expected {
    const char* what;
    int x, y;
    PixelRGBA colour;
};

class DashboardRender : public CardFixture {
protected:
    Bitmap render(long style) {
        store(vantile::key::vantileEnabledArray, titles({"Wi-Fi", "Battery", "General"}));
        auto window = vantile::testing::makeWindow(style);
        window->addSubview(vantile::testing::makeDashboardView());
        return platform::harness::renderView(window, {1.0, false});
    }
    static void expectPixels(const Bitmap& bitmap, const std::vector<Expected>& points) {
        for (const Expected& p : points) {
            const PixelRGBA c = unpackPixel(bitmap.at(p.x, p.y));
            EXPECT_LE(std::abs(c.r - p.colour.r), 1) << p.what << " red " << c.r;
            EXPECT_LE(std::abs(c.g - p.colour.g), 1) << p.what << " green " << c.g;
            EXPECT_LE(std::abs(c.b - p.colour.b), 1) << p.what << " blue " << c.b;
        }
    }
};

// On the 375 × 667 screen the first tile spans x 5 … 182.5 and y 50 … 170, the second starts at x 192.5 and the
// second row at y 180, where the third tile, alone on its line, is centred (x 98.75 … 276.25); the icon of the first covers x 63.75 … 123.75, y 65 … 125. The test icons are (52, 120, 246).
TEST_F(DashboardRender, TilesIconsAndGapsInLightAndDark) {
    const PixelRGBA icon{0x34, 0x78, 0xF6, 255};
    const Bitmap light = render(1);
    ASSERT_EQ(light.width, 375);
    const PixelRGBA page{242, 242, 245, 255};  // the test window's light page colour (0.95, 0.95, 0.96)
    expectPixels(light, {{"tile body", 25, 165, {255, 255, 255, 255}},
                         {"icon", 93, 95, icon},
                         {"rounded corner of the first tile", 6, 51, page},
                         {"gap between the columns", 187, 100, page},
                         {"second tile", 212, 165, {255, 255, 255, 255}},
                         {"gap between the rows", 25, 175, page},
                         {"third tile, alone on its line and so centred", 187, 290, {255, 255, 255, 255}},
                         {"left of the centred third tile", 25, 290, page}});

    const Bitmap dark = render(2);
    const PixelRGBA black{0, 0, 0, 255};
    expectPixels(dark, {{"dark tile", 25, 165, {28, 28, 31, 255}},
                        {"icon", 93, 95, icon},
                        {"rounded corner", 6, 51, black},
                        {"gap", 187, 100, black}});
}

}  // namespace
