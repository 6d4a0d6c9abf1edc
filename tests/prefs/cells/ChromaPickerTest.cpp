// The colour rows and their picker, driven as a person drives them: the row is tapped, the square and bars are
// dragged, the field is tapped, typed into and left. What is checked is what is stored, announced and shown.
#include "prefs/cells/ChromaAlphaView.h"
#include "prefs/cells/ChromaCodec.h"
#include "prefs/cells/ChromaHueView.h"
#include "prefs/cells/ChromaIndicatorView.h"
#include "prefs/cells/ChromaPickerView.h"
#include "prefs/cells/VNTChromaCell.h"
#include "prefs/cells/VNTChromaViewController.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListController.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIInputSetHostView.h"
#include "platform/ui/UIPasteboard.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIToolbar.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

#include <cmath>
#include <functional>
#include <filesystem>

// Hears a notification and looks at the world at that moment.
class ChromaTestProbe : public NSObject {
    VT_OBJECT(ChromaTestProbe, NSObject)
public:
    std::function<void()> look;
    void heard(id) {
        if (look) look();
    }
};
VT_REGISTER_CLASS(ChromaTestProbe, [](Class c) { platform::runtime::addMethod<&ChromaTestProbe::heard>(c, "heard:"); })

namespace {

using vnt::Theme;

constexpr std::string_view kKey = "vantileCellsChroma";
constexpr std::string_view kPosted = "com.Zorvanic.VantilePrefs/settingschanged";

// The colour's channels in 255ths, rounded, for comparisons that read like the stored strings.
struct Rgba255 {
    int r, g, b, a;
    friend bool operator==(const Rgba255&, const Rgba255&) = default;
};
std::ostream& operator<<(std::ostream& os, const Rgba255& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
Rgba255 rgba255(const Ref<UIColor>& color) {
    const auto c = color->rgba();
    return {int(std::lround(c.red * 255)), int(std::lround(c.green * 255)), int(std::lround(c.blue * 255)),
            int(std::lround(c.alpha * 255))};
}
Rgba255 rgba255(const CGColorRef& color) {
    const auto c = platform::gfx::paintColor(color);
    return {int(std::lround(c.r * 255)), int(std::lround(c.g * 255)), int(std::lround(c.b * 255)),
            int(std::lround(c.a * 255))};
}

class ChromaPickerTest : public kittest::KitFixture {
protected:
    void SetUp() override {
        KitFixture::SetUp();
        platform::clearNotificationRecords();
        UIPasteboard::generalPasteboard()->setString(std::nullopt);
    }

    static Ref<PSSpecifier> colourEntry(std::string_view key, std::string_view fallback,
                                        std::string_view domain = vantile::kDomain, bool posts = true) {
        auto entry = kitEntry("VNTChromaCell", PSSpecifier::PSButtonCell,
                              {{"key", key}, {"defaults", domain}, {"default", fallback}, {"header", "Cell Colour"},
                               {"subtitle", "Background"}});
        if (posts) entry->setPropertyForKey(Property(std::string(kPosted)), "PostNotification");
        return entry;
    }

    // Shows a page with the entries; the rows are the table's cells in order.
    void showRows(const std::vector<Ref<PSSpecifier>>& entries) {
        m_page = alloc<PSListController>();
        showList(m_page, entries);
    }
    Ref<VNTChromaCell> row(long index) const {
        auto table = m_page->table();
        return cast<VNTChromaCell>(table->cellForRowAtIndexPath(IndexPath{0, index}));
    }
    CGPoint centreOf(const Ref<UIView>& view) const {
        return view->convertPointToView(CGPointMake(view->bounds().midX(), view->bounds().midY()), m_window);
    }
    CGPoint pointIn(const Ref<UIView>& view, CGFloat x, CGFloat y) const {
        return view->convertPointToView(CGPointMake(x, y), m_window);
    }
    void settle(double seconds = 1) { platform::TouchDriver(m_window).wait(seconds); }

    // Taps the row and answers the picker it presents.
    Ref<VNTChromaViewController> open(long index = 0) {
        platform::TouchDriver(m_window).tap(centreOf(row(index)));
        settle();
        auto picker = cast<VNTChromaViewController>(m_page->presentedViewController());
        if (picker) m_window->layoutIfNeeded();
        return picker;
    }
    void drag(const Ref<UIView>& view, CGPoint from, CGPoint to) {
        std::vector<CGPoint> path;
        for (int i = 0; i <= 8; ++i)
            path.push_back(pointIn(view, from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8));
        platform::TouchDriver(m_window).drag(path, 0.4, CGPointMake(0, 0));
    }
    // Taps the field, replaces its text by typing, and presses return.
    void typeIntoField(const Ref<VNTChromaViewController>& picker, const std::string& text) {
        auto field = picker->hexField();
        platform::TouchDriver(m_window).tap(centreOf(field));
        ASSERT_TRUE(field->isFirstResponder());
        field->selectAll(nullptr);
        field->insertText(text);
        field->pressReturn();
    }
    static Value storedValue(std::string_view key = kKey) { return CFPreferencesCopyAppValue(key, vantile::kDomain); }
    static std::size_t distributedPosts() {
        return platform::notificationCount(platform::NotificationKind::Distributed, kPosted);
    }
    static std::size_t colourAnnouncements() {
        return platform::notificationCount(platform::NotificationKind::Default, "com.zorvanic.chroma.colorupdate");
    }

    Ref<PSListController> m_page;
};

TEST_F(ChromaPickerTest, HalfTransparentRedPreviewsAndOpensWithTheAlphaIndicatorAtTheMiddle) {
    store(kKey, Value("FF000080"));
    showRows({colourEntry(kKey, "FFFFFF")});
    auto preview = row(0)->accessoryView();
    ASSERT_TRUE(preview && preview->backgroundColor());
    EXPECT_EQ(rgba255(preview->backgroundColor()), (Rgba255{255, 0, 0, 128}));
    EXPECT_EQ(preview->frame().size, VNTChromaCell::kPreviewSize);

    auto picker = open();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->modalPresentationStyle(), UIModalPresentationOverCurrentContext);
    EXPECT_EQ(picker->hexField()->text(), "#FF0000");
    const CGFloat width = picker->alphaView()->bounds().width();
    EXPECT_NEAR(picker->alphaView()->indicator()->center().x, width / 2, 1.0);
    // Opening stores the opened colour again, once, and announces it on both centres.
    EXPECT_EQ(storedValue(), Value("FF000080"));
    EXPECT_EQ(colourAnnouncements(), 1u);
    EXPECT_EQ(distributedPosts(), 1u);
}

TEST_F(ChromaPickerTest, TypedTextIsTakenOnlyAsHashAndSixDigits) {
    struct Case {
        const char* typed;
        const char* stored;  // after leaving the field
        const char* field;
        bool blackInk;
    };
    const Case cases[] = {
        {"#00FF00", "00FF00FF", "#00FF00", false},
        {"#FFFFFF", "FFFFFFFF", "#FFFFFF", true},
        {"#12abEF", "12ABEFFF", "#12ABEF", false},
        // Everything else goes back to the colour held, and nothing is stored.
        {"00FF00", "336699CC", "#336699", false},
        {"#0F0", "336699CC", "#336699", false},
        {"#00FF00FF", "336699CC", "#336699", false},
        {"#GGGGGG", "336699CC", "#336699", false},
        {"", "336699CC", "#336699", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        store(kKey, Value("336699CC"));
        showRows({colourEntry(kKey, "FFFFFF")});
        auto picker = open();
        ASSERT_TRUE(picker);
        platform::clearNotificationRecords();
        typeIntoField(picker, c.typed);
        EXPECT_FALSE(picker->hexField()->isFirstResponder()) << "editing always ends";
        EXPECT_EQ(storedValue(), Value(c.stored));
        EXPECT_EQ(picker->hexField()->text(), c.field);
        const auto ink = c.blackInk ? Rgba255{0, 0, 0, 255} : Rgba255{255, 255, 255, 255};
        EXPECT_EQ(rgba255(picker->hexField()->textColor()), ink);
        EXPECT_EQ(rgba255(picker->hexField()->layer()->borderColor()), ink);
        if (std::string(c.stored) == "336699CC") EXPECT_EQ(distributedPosts(), 0u);
        else EXPECT_EQ(rgba255(picker->currentColorView()->backgroundColor()), rgba255(chroma::colorFromHexString(c.stored)));
    }
}

TEST_F(ChromaPickerTest, WhiteInkTurnsBlackForWhiteAndBackForAnyOther) {
    store(kKey, Value("000000FF"));
    showRows({colourEntry(kKey, "FFFFFF")});
    auto picker = open();
    ASSERT_TRUE(picker);
    typeIntoField(picker, "#FFFFFF");
    EXPECT_EQ(rgba255(picker->hexField()->textColor()), (Rgba255{0, 0, 0, 255}));
    typeIntoField(picker, "#FFFFFE");
    EXPECT_EQ(storedValue(), Value("FFFFFEFF"));
    EXPECT_EQ(rgba255(picker->hexField()->textColor()), (Rgba255{255, 255, 255, 255}));
}

TEST_F(ChromaPickerTest, DragsPastTheEdgesClamp) {
    struct Case {
        const char* name;
        int control;  // 0 square, 1 hue bar, 2 alpha bar
        CGPoint to;   // in the control's own points; outside it on purpose
        const char* stored;
    };
    // The opened colour is opaque pure blue: hue 2/3, saturation 1, brightness 1.
    const Case cases[] = {
        {"square beyond its top-left corner", 0, {-40, -40}, "FFFFFFFF"},
        {"square beyond its bottom-right corner", 0, {400, 400}, "000000FF"},
        {"square beyond its top-right corner", 0, {400, -40}, "0000FFFF"},
        {"hue bar past its right end is red again", 1, {500, 15}, "FF0000FF"},
        {"hue bar past its left end is red", 1, {-50, 15}, "FF0000FF"},
        {"alpha bar past its left end", 2, {-50, 15}, "0000FF00"},
        {"alpha bar past its right end", 2, {500, 15}, "0000FFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store(kKey, Value("0000FF80"));
        showRows({colourEntry(kKey, "FFFFFF")});
        auto picker = open();
        ASSERT_TRUE(picker);
        const Ref<UIView> control = c.control == 0   ? Ref<UIView>(picker->pickerView())
                                    : c.control == 1 ? Ref<UIView>(picker->hueView())
                                                     : Ref<UIView>(picker->alphaView());
        if (c.control != 2) {
            // Full alpha first, so the string shows the colour alone.
            drag(picker->alphaView(), CGPointMake(100, 15), CGPointMake(400, 15));
        }
        drag(control, CGPointMake(control->bounds().midX(), control->bounds().midY()), c.to);
        EXPECT_EQ(storedValue(), Value(c.stored));
        EXPECT_EQ(rgba255(row(0)->accessoryView()->backgroundColor()), rgba255(chroma::colorFromHexString(c.stored)))
            << "the row's preview follows every drag";
    }
}

TEST_F(ChromaPickerTest, EveryRowHasRefreshedBeforeTheDistributedPost) {
    store(kKey, Value("FF0000FF"));
    store("vantileCellsFontChroma", Value("00FF00FF"));
    showRows({colourEntry(kKey, "FFFFFF"), colourEntry("vantileCellsFontChroma", "FFFFFF")});
    auto picker = open(0);
    ASSERT_TRUE(picker);

    // An observer registered after the rows hears the announcement after them, and before the distributed post.
    std::vector<std::size_t> postsSeen;
    std::vector<Rgba255> previewSeen;
    auto probe = alloc<ChromaTestProbe>();
    probe->look = [&] {
        postsSeen.push_back(distributedPosts());
        previewSeen.push_back(rgba255(row(0)->accessoryView()->backgroundColor()));
    };
    NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(probe, sel("heard:"),
                                                                         "com.zorvanic.chroma.colorupdate", nullptr);
    platform::clearNotificationRecords();
    typeIntoField(picker, "#0000FF");
    ASSERT_FALSE(postsSeen.empty());
    // updateWithColor moves four controls; each store is announced in process first, then distributed.
    for (std::size_t i = 0; i < postsSeen.size(); ++i) EXPECT_EQ(postsSeen[i], i);
    EXPECT_EQ(previewSeen.back(), (Rgba255{0, 0, 255, 255}));
    EXPECT_EQ(distributedPosts(), postsSeen.size());
    // The other row refreshed too, with its own key's colour.
    EXPECT_EQ(rgba255(row(1)->accessoryView()->backgroundColor()), (Rgba255{0, 255, 0, 255}));
    NSNotificationCenter::defaultCenter()->removeObserver(probe);
}

TEST_F(ChromaPickerTest, OceanThemesTheIconTheBorderAndDone) {
    selectTheme(Theme::Ocean);
    writeImage(themedPath(Theme::Ocean, "Icons", "colour@3x.png"), 0xFF2080C0);
    showRows({colourEntry(kKey, "FFFFFF")});
    auto cell = row(0);
    ASSERT_TRUE(cell->iconImage()->image());
    EXPECT_EQ(cell->iconImage()->image()->source(), themedPath(Theme::Ocean, "Icons", "colour@3x.png"));
    const auto accent = rgba255(vnt::accentColour(Theme::Ocean));
    EXPECT_EQ(rgba255(cell->accessoryView()->layer()->borderColor()), accent);
    auto picker = open();
    ASSERT_TRUE(picker);
    EXPECT_EQ(rgba255(picker->doneButton()->titleColorForState(UIControlStateNormal)), accent);
    platform::TouchDriver(m_window).tap(centreOf(picker->doneButton()));
    settle();
    EXPECT_FALSE(m_page->presentedViewController()) << "Done closes the card";
}

TEST_F(ChromaPickerTest, WithoutAThemeTheRowHasNoIconAndThePreviewNoBorderColour) {
    selectTheme(std::nullopt);
    showRows({colourEntry(kKey, "FFFFFF")});
    EXPECT_FALSE(row(0)->iconImage()->image());
    EXPECT_FALSE(row(0)->accessoryView()->layer()->borderColor());
    auto picker = open();
    ASSERT_TRUE(picker);
    EXPECT_FALSE(picker->doneButton()->titleColorForState(UIControlStateNormal) &&
                 rgba255(picker->doneButton()->titleColorForState(UIControlStateNormal)) ==
                     rgba255(vnt::accentColour(Theme::Default)));
}

TEST_F(ChromaPickerTest, TheFieldBringsTheKeyboardWithPasteAndCopyAndEndsOnATapElsewhere) {
    store(kKey, Value("112233FF"));
    showRows({colourEntry(kKey, "FFFFFF")});
    auto picker = open();
    ASSERT_TRUE(picker);
    platform::TouchDriver(m_window).tap(centreOf(picker->hexField()));
    auto keyboard = UIInputSetHostView::current();
    ASSERT_TRUE(keyboard);
    auto toolbar = cast<UIToolbar>(keyboard->accessoryView());
    ASSERT_TRUE(toolbar);
    ASSERT_EQ(toolbar->items().size(), 3u);
    EXPECT_EQ(toolbar->items()[0]->systemItem(), UIBarButtonSystemItemFlexibleSpace);
    EXPECT_EQ(toolbar->items()[1]->title(), "Paste");
    EXPECT_EQ(toolbar->items()[2]->title(), "Copy");
    m_window->layoutIfNeeded();
    EXPECT_NEAR(toolbar->convertRectToView(toolbar->bounds(), m_window).maxY(),
                m_window->bounds().height() - UIInputSetHostView::kKeyboardHeight, 0.01)
        << "the accessory sits on the keyboard";

    platform::TouchDriver(m_window).tap(centreOf(toolbar->buttonForItem(*toolbar->items()[2])));
    EXPECT_EQ(UIPasteboard::generalPasteboard()->string(), std::optional<std::string>("#112233"));
    UIPasteboard::generalPasteboard()->setString("#445566");
    platform::TouchDriver(m_window).tap(centreOf(toolbar->buttonForItem(*toolbar->items()[1])));
    EXPECT_EQ(picker->hexField()->text(), "#445566");
    EXPECT_TRUE(picker->hexField()->isFirstResponder()) << "the accessory's buttons keep the field editing";
    EXPECT_EQ(storedValue(), Value("112233FF")) << "pasting applies nothing by itself";

    // A tap on the square's label-free corner of the card ends editing, which takes the pasted colour.
    platform::TouchDriver(m_window).tap(pointIn(picker->containerView(), 5, 5));
    EXPECT_FALSE(picker->hexField()->isFirstResponder());
    EXPECT_FALSE(UIInputSetHostView::current());
    EXPECT_EQ(storedValue(), Value("445566FF"));
}

TEST_F(ChromaPickerTest, BadInputStoresNothingWrongAndLosesNothing) {
    // A megabyte pasted into the field reverts when editing ends.
    {
        store(kKey, Value("ABCDEFFF"));
        showRows({colourEntry(kKey, "FFFFFF")});
        auto picker = open();
        ASSERT_TRUE(picker);
        platform::TouchDriver(m_window).tap(centreOf(picker->hexField()));
        UIPasteboard::generalPasteboard()->setString(std::string(1 << 20, '7'));
        picker->pasteHexCode();
        EXPECT_EQ(picker->hexField()->text().size(), std::size_t(1) << 20);
        picker->hexField()->pressReturn();
        EXPECT_EQ(picker->hexField()->text(), "#ABCDEF");
        EXPECT_EQ(storedValue(), Value("ABCDEFFF"));
    }
    // A stored string that reads as no colour: no preview colour; the picker opens on opaque white.
    {
        store(kKey, Value("#12"));
        showRows({colourEntry(kKey, "nonsense")});
        EXPECT_FALSE(row(0)->accessoryView()->backgroundColor());
        auto picker = open();
        ASSERT_TRUE(picker);
        EXPECT_EQ(storedValue(), Value("FFFFFFFF"));
        EXPECT_EQ(picker->hexField()->text(), "#FFFFFF");
    }
    // No row posts on the distributed centre without "PostNotification".
    {
        platform::clearNotificationRecords();
        showRows({colourEntry(kKey, "FFFFFF", vantile::kDomain, false)});
        ASSERT_TRUE(open());
        EXPECT_EQ(platform::notificationRecords().size(), colourAnnouncements());
    }
    // A domain that would leave the preferences folder writes no file anywhere.
    {
        showRows({colourEntry(kKey, "FF0000", "../../../Library/escape")});
        ASSERT_TRUE(open());
        EXPECT_FALSE(std::filesystem::exists(hostPath("/Library/escape.plist")));
        EXPECT_FALSE(std::filesystem::exists(hostPath("/var/mobile/Library/escape.plist")));
    }
    // A domain without a plist file: the store alone keeps the value, and it is really there.
    {
        constexpr std::string_view kOther = "com.example.colours";
        ASSERT_FALSE(platform::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.example.colours.plist"));
        showRows({colourEntry(kKey, "00FF00", kOther)});
        ASSERT_TRUE(open());
        EXPECT_EQ(CFPreferencesCopyAppValue(kKey, kOther), Value("00FF00FF"));
    }
}

TEST_F(ChromaPickerTest, ShortStoredStringsOpenWithTheirWholeTextUntilTheFirstStore) {
    store(kKey, Value("F0F"));
    showRows({colourEntry(kKey, "FFFFFF")});
    EXPECT_EQ(rgba255(row(0)->accessoryView()->backgroundColor()), (Rgba255{255, 0, 255, 255}));
    auto picker = open();
    ASSERT_TRUE(picker);
    EXPECT_EQ(storedValue(), Value("FF00FFFF")) << "opening rewrites the stored colour in eight digits";
    EXPECT_EQ(picker->hexField()->text(), "#FF00FF");
}

TEST_F(ChromaPickerTest, ControlsMakeTheirImagesAndIndicators) {
    store(kKey, Value("00FF00FF"));
    showRows({colourEntry(kKey, "FFFFFF")});
    auto picker = open();
    ASSERT_TRUE(picker);
    auto square = picker->pickerView();
    ASSERT_TRUE(square->imageView() && square->imageView()->image());
    EXPECT_NEAR(square->hue(), 1.0 / 3, 1e-6);
    // Green at full saturation and brightness sits in the top-right corner.
    EXPECT_NEAR(square->indicator()->center().x, square->bounds().width(), 0.01);
    EXPECT_NEAR(square->indicator()->center().y, 0, 0.01);
    EXPECT_EQ(rgba255(square->indicator()->color()), (Rgba255{0, 255, 0, 255}));
    ASSERT_TRUE(picker->hueView()->imageView()->image());
    EXPECT_EQ(rgba255(picker->hueView()->indicator()->color()), (Rgba255{0, 255, 0, 255}));
    EXPECT_EQ(rgba255(picker->alphaView()->indicator()->color()), (Rgba255{0, 0, 0, 255})) << "alpha 1 is black";
    // The alpha bar runs from white at the left to black at the right.
    const auto& bar = picker->alphaView()->imageView()->image()->bitmap();
    EXPECT_EQ(bar.at(0, bar.height / 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_LT(bar.at(bar.width - 1, bar.height / 2) & 0xFF, 8u);
}

}  // namespace
