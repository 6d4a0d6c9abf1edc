// A list page made of the kit's rows, drawn as the phone shows it: the themed icons and the grid's buttons appear
// where their rows put them, in the current theme's colours.
#include "prefs/cells/GridButton.h"
#include "prefs/cells/VNTZRVCGridCustomCella.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/RunLoop.h"
#include "platform/harness/Renderer.h"
#include "platform/host/PSListController.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

#include <cmath>
#include <vector>

namespace {

using platform::msgSend;

class KitPageRenderTest : public kittest::KitFixture {
protected:
    Ref<PSListController> showPage() {
        auto grid = kitEntry("VNTZRVCGridCustomCella", PSSpecifier::PSStaticTextCell,
                             {{"leftIcon", "profile"}, {"middleIcon", "guide"}, {"rightIcon", "changelog"},
                              {"leftLabel", "Profile"}, {"middleLabel", "User Guide"}, {"rightLabel", "Changelog"}});
        auto header = kitEntry("VNTZRVCHeaderCella", PSSpecifier::PSStaticTextCell, {{"header", "Options"}});
        auto toggle = kitEntry("VNTZRVCSwitchCella", PSSpecifier::PSSwitchCell,
                               {{"header", "Haptics"}, {"subtitle", "Feedback on taps"}, {"key", "toggleHaptics"},
                                {"defaults", "com.Zorvanic.VantilePrefs"}});
        auto birthday = kitEntry("VNTZRVCBtnCella", PSSpecifier::PSButtonCell,
                                 {{"header", "Birthday Date"}, {"subtitle", "Set your birthday"}});
        auto slider = kitEntry("VNTZRVCSliderCella", PSSpecifier::PSSliderCell, {{"header", "Banner height"}});
        auto faq = kitEntry("VNTZRVCDescriptionCella", PSSpecifier::PSStaticTextCell, {{"header", "FAQ"}});
        faq->setPropertyForKey(Property(160.0), "height");
        // The icon rows set their own height when made; the page asks before that, so the list says it too.
        for (const auto& r : {toggle, birthday}) r->setPropertyForKey(Property(70.0), "height");
        slider->setPropertyForKey(Property(70.0), "height");

        auto page = alloc<PSListController>();
        showList(page, {PSSpecifier::groupSpecifierWithName(""), grid, header, toggle, birthday, slider,
                        PSSpecifier::groupSpecifierWithName(""), faq});
        return page;
    }

    // The drawn colour at the centre of `view`, one pixel read at the screen's scale.
    static PixelRGBA centreColour(const Bitmap& bitmap, const Ref<UIView>& view, const Ref<UIView>& window) {
        const CGRect b = view->bounds();
        const CGPoint p = view->convertPointToView({b.midX(), b.midY()}, window);
        const double scale = UIScreen::mainScreen()->scale();
        return unpackPixel(bitmap.at(static_cast<int>(p.x * scale), static_cast<int>(p.y * scale)));
    }
    static PixelRGBA accent(vnt::Theme theme) {
        const auto& c = vnt::themeRow(theme).accent;
        auto channel = [](double v) { return static_cast<int>(std::lround(v * 255)); };
        return {channel(c.red), channel(c.green), channel(c.blue), 255};
    }
};

TEST_F(KitPageRenderTest, IconsAndGridButtonsShowInTheThemesColours) {
    for (vnt::Theme theme : {vnt::Theme::Default, vnt::Theme::Storm}) {
        SCOPED_TRACE(std::string(vnt::themeRow(theme).name));
        selectTheme(theme);
        auto page = showPage();
        auto table = page->table();
        auto grid = cast<VNTZRVCGridCustomCella>(table->cellForRowAtIndexPath(IndexPath{0, 0}));
        auto toggle = table->cellForRowAtIndexPath(IndexPath{0, 2});
        auto birthday = table->cellForRowAtIndexPath(IndexPath{0, 3});
        ASSERT_TRUE(grid && toggle && birthday);
        EXPECT_EQ(grid->frame().height(), 100) << "the grid's preferred height";

        const Bitmap bitmap = platform::harness::renderView(m_window);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(centreColour(bitmap, grid->buttonAt(i)->imageView(), m_window), accent(theme)) << "column " << i;
        for (const auto& cell : {toggle, birthday}) {
            auto icon = msgSend<Ref<UIImageView>>(cell, sel("iconImage"));
            ASSERT_TRUE(icon);
            EXPECT_EQ(centreColour(bitmap, icon, m_window), accent(theme)) << cell->className();
        }
        m_window->setRootViewController(nullptr);
    }
}

}  // namespace
