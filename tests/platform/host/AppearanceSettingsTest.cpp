// Cephei's appearance settings as a user sees them: the page's tint on its switches and button rows, the separator
// colour (invisible separators), the navigation bar's colour while the page is on top, and the pages pushed from it
// looking the same; checked on the objects and on the rendered screen.
#include "platform/gfx/UIColor.h"
#include "platform/harness/Renderer.h"
#include "platform/host/HBAppearanceSettings.h"
#include "platform/host/HBRootListController.h"
#include "platform/host/PSTableCell.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "tests/platform/host/HostFixture.h"
#include "tests/platform/host/TestPages.h"
#include "tests/support/Snapshot.h"

#include <cmath>

namespace {

using platform::msgSend;

// A theme's colours: accent as tint, white 0 alpha 0 as separators, the gradient start as the bar.
Ref<UIColor> tint() {
    static const Ref<UIColor> colour = UIColor::colorWithRedGreenBlueAlpha(0.98, 0.77, 0.82, 1);
    return colour;
}
Ref<UIColor> bar() {
    static const Ref<UIColor> colour = UIColor::colorWithRedGreenBlueAlpha(0.17, 0.24, 0.31, 1);
    return colour;
}

class Appearance : public hosttest::HostFixture {
protected:
    static Ref<HBAppearanceSettings> themed() {
        auto settings = alloc<HBAppearanceSettings>();
        settings->setTintColor(tint());
        settings->setTableViewCellSeparatorColor(UIColor::colorWithWhiteAlpha(0, 0));
        settings->setNavigationBarBackgroundColor(bar());
        return settings;
    }
    // A page with a group of a switch, a button and a link row, then a second group of two links.
    template <class Page = HostTestPage>
    static Ref<Page> page(Ref<HBAppearanceSettings> settings) {
        auto p = alloc<Page>();
        p->init();
        if (settings) msgSend<void>(p, sel("hb_setAppearanceSettings:"), settings);
        auto list = NSMutableArray::array();
        list->addObject(PSSpecifier::groupSpecifierWithName("Rows"));
        for (const auto& [name, cell] : {std::pair{"Switch", long(PSSpecifier::PSSwitchCell)},
                                         std::pair{"Button", long(PSSpecifier::PSButtonCell)},
                                         std::pair{"Link", long(PSSpecifier::PSLinkCell)}}) {
            auto row = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(name, nullptr, nullptr, nullptr,
                                                                                      nullptr, cell, nullptr);
            // The switch shows on, so that its on-colour is what a screenshot shows.
            if (cell == PSSpecifier::PSSwitchCell) row->setPropertyForKey(Property(true), "default");
            list->addObject(row);
        }
        list->addObject(PSSpecifier::groupSpecifierWithName("More"));
        for (const char* name : {"One", "Two"})
            list->addObject(PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
                name, nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr));
        p->setSpecifiers(list);
        return p;
    }
    static Ref<PSTableCell> cell(const Ref<PSListController>& p, long section, long row) {
        p->view()->layoutIfNeeded();
        return cast<PSTableCell>(p->table()->cellForRowAtIndexPath(IndexPath{section, row}));
    }
    static Ref<UISwitch> switchOf(const Ref<PSListController>& p) {
        return cast<UISwitch>(cast<PSSwitchTableCell>(cell(p, 0, 0))->control());
    }
    void push(const Ref<PSListController>& from, const Ref<UIViewController>& to) {
        msgSend<void>(from, sel("pushController:"), to);
        platform::RunLoop::main().advance(1);
        m_window->layoutIfNeeded();
    }
    void pop() {
        m_navigation->popViewControllerAnimated(false);
        platform::RunLoop::main().advance(1);
    }
    Ref<UIColor> barColour() { return m_navigation->navigationBar()->backgroundColor(); }

    // The rendered window's pixel at a point of the window.
    PixelRGBA pixel(const Bitmap& screen, CGPoint point) const {
        const double scale = static_cast<double>(screen.width) / m_window->bounds().width();
        return unpackPixel(screen.at(static_cast<int>(point.x * scale), static_cast<int>(point.y * scale)));
    }
    // A point on the separator under a row (its last half point) and one inside the row, in window coordinates.
    std::pair<CGPoint, CGPoint> separatorAndInside(const Ref<PSListController>& p, long section, long row) {
        auto c = cell(p, section, row);
        const CGRect frame = c->convertRectToView(c->bounds(), m_window);
        const CGFloat x = frame.minX() + 60;
        return {CGPointMake(x, frame.maxY() - 0.2), CGPointMake(x, frame.maxY() - 6)};
    }
    static bool near(PixelRGBA a, PixelRGBA b, int tolerance = 2) {
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
    }
};

TEST_F(Appearance, AThemedPageTintsItsRowsHidesItsSeparatorsAndColoursTheBarWhileOnTop) {
    auto host = page(nullptr);
    show(host);
    const Ref<UIColor> hostBar = barColour();
    {
        // The host's own look: separators show, switches are green.
        const Bitmap screen = platform::harness::renderView(m_window);
        auto [line, inside] = separatorAndInside(host, 1, 0);
        EXPECT_FALSE(near(pixel(screen, line), pixel(screen, inside))) << "the host's separators are visible";
        EXPECT_FALSE(switchOf(host)->onTintColor());
    }

    auto themedPage = page(themed());
    push(host, themedPage);
    EXPECT_EQ(barColour(), bar());
    EXPECT_EQ(themedPage->view()->tintColor(), tint());
    EXPECT_EQ(switchOf(themedPage)->onTintColor(), tint());
    EXPECT_EQ(cell(themedPage, 0, 1)->textLabel()->textColor(), tint()) << "button rows take the tint";
    for (auto [s, r] : {std::pair{0L, 0L}, {0L, 1L}, {0L, 2L}, {1L, 0L}, {1L, 1L}}) {
        auto separator = cell(themedPage, s, r)->separatorView()->backgroundColor();
        ASSERT_TRUE(separator);
        EXPECT_EQ(separator->alphaComponent(), 0) << s << "," << r;
    }

    const Bitmap screen = platform::harness::renderView(m_window);
    const CGRect barFrame = m_navigation->navigationBar()->frame();
    const PixelRGBA barPixel = pixel(screen, CGPointMake(barFrame.minX() + 3, barFrame.maxY() - 3));
    EXPECT_TRUE(near(barPixel, {static_cast<int>(std::lround(0.17 * 255)), static_cast<int>(std::lround(0.24 * 255)),
                                static_cast<int>(std::lround(0.31 * 255)), 255}))
        << barPixel.r << " " << barPixel.g << " " << barPixel.b;
    auto [line, inside] = separatorAndInside(themedPage, 1, 0);
    EXPECT_TRUE(near(pixel(screen, line), pixel(screen, inside), 1)) << "no separator line is drawn";
    EXPECT_TRUE(vantile::testing::matchesSnapshot(screen, "host/themed-page"));

    pop();
    EXPECT_EQ(barColour(), hostBar) << "the bar takes back its own look when the themed page goes";
}

TEST_F(Appearance, PagesPushedFromAThemedPageLookTheSameUntilTheLastOneGoes) {
    auto root = page<HBRootListController>(themed());
    show(root);
    EXPECT_EQ(barColour(), bar());
    auto child = page(nullptr);
    push(root, child);
    EXPECT_EQ(child->effectiveAppearanceSettings(), root->hb_appearanceSettings());
    EXPECT_FALSE(child->hb_appearanceSettings()) << "its own settings stay empty";
    EXPECT_EQ(barColour(), bar());
    EXPECT_EQ(switchOf(child)->onTintColor(), tint());

    // A page with settings of its own keeps them.
    auto own = alloc<HBAppearanceSettings>();
    own->setTintColor(UIColor::colorWithRedGreenBlueAlpha(0.3, 0.63, 0.69, 1));
    auto grandchild = page(own);
    push(child, grandchild);
    EXPECT_EQ(grandchild->effectiveAppearanceSettings(), own);
    EXPECT_EQ(switchOf(grandchild)->onTintColor(), own->tintColor());
    EXPECT_NE(barColour(), bar()) << "settings without a bar colour leave the host's bar";

    pop();
    EXPECT_EQ(barColour(), bar()) << "back on a themed page";
    pop();
    EXPECT_EQ(barColour(), bar());
    EXPECT_EQ(m_navigation->topViewController(), root);
}

TEST_F(Appearance, ExplicitColoursWinAndSettingsGivenLaterShowAtOnce) {
    auto p = page(nullptr);
    show(p);
    auto toggle = switchOf(p);
    auto green = UIColor::colorWithRedGreenBlueAlpha(0, 1, 0, 1);
    toggle->setOnTintColor(green);

    msgSend<void>(p, sel("hb_setAppearanceSettings:"), themed());
    m_window->layoutIfNeeded();
    EXPECT_EQ(barColour(), bar()) << "settings given while the page is on screen show at once";
    EXPECT_EQ(p->view()->tintColor(), tint());
    EXPECT_EQ(switchOf(p)->onTintColor(), green) << "a switch given its own on-colour keeps it";
    EXPECT_EQ(cell(p, 0, 1)->textLabel()->textColor(), tint());

    // Settings whose colours are left null change nothing of those aspects.
    auto empty = alloc<HBAppearanceSettings>();
    msgSend<void>(p, sel("hb_setAppearanceSettings:"), empty);
    m_window->layoutIfNeeded();
    EXPECT_FALSE(p->view()->tintColor());
    EXPECT_NE(barColour(), bar());
}

}  // namespace
