// The card table: what makes a row incomplete, and that every row becomes a run-time class of the right shared
// class, polling, counting and reading its texts as the row says.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/cards/AirplaneCell.h"
#include "tweak/cards/BluetoothCell.h"
#include "tweak/cards/CardTable.h"
#include "tweak/cards/VantileCountingCell.h"
#include "tweak/cards/VantileNetworkCell.h"

#include "platform/core/NSTimer.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"

#include <functional>

namespace {

using vantile::testing::CardFixture;
using namespace vantile::cards;

// A complete row of each shape, from which each case below takes one thing away or adds one too many.
constexpr CardRow kPlain{.title = "Keyboard", .reuseIdentifier = "KeyboardCell", .cardClass = "KeyboardCell",
                         .iconFile = "keyboard.png", .settingsPage = "KEYBOARD", .textKeys = {"keyboard"}};
constexpr CardRow kNetwork{.title = "VPN", .reuseIdentifier = "VPNCell", .cardClass = "VPNCell",
                           .iconFile = "vpn.png", .settingsPage = "VPN",
                           .textKeys = {"vpn", "statusCONNECTED", "statusDISCONNECTED"},
                           .shape = CardShape::Network, .pollSelector = "refreshVPN",
                           .networkQuery = "connectedToVPN"};
constexpr CardRow kCounting{.title = "Fonts", .reuseIdentifier = "FontsCell", .cardClass = "FontsCell",
                            .iconFile = "fonts.png", .settingsPage = "FONTS", .textKeys = {"fonts"},
                            .shape = CardShape::Counting, .counts = CountSource::Folder,
                            .countedFolder = "/Library/Fonts/", .countFormat = "%ld fonts"};

static_assert(!cardRowProblem(kPlain) && !cardRowProblem(kNetwork) && !cardRowProblem(kCounting));

constexpr std::string_view kFolderProblem = "a folder count names its folder, no other count does";

TEST(CardTableRows, EachMissingOrContradictoryFieldIsNamed) {
    struct Case {
        const char* what;
        CardRow base;
        std::function<void(CardRow&)> change;
        std::string_view problem;
    };
    const Case cases[] = {
        {"title", kPlain, [](CardRow& r) { r.title = ""; }, "no title"},
        {"identifier", kPlain, [](CardRow& r) { r.reuseIdentifier = ""; }, "no reuse identifier"},
        {"class", kPlain, [](CardRow& r) { r.cardClass = ""; }, "no class name"},
        {"icon", kPlain, [](CardRow& r) { r.iconFile = ""; }, "no icon file"},
        {"address", kPlain, [](CardRow& r) { r.settingsPage = ""; }, "only the airplane card opens no page"},
        {"two addresses", kPlain, [](CardRow& r) { r.pageIsTweaksSectionTitle = true; }, "two addresses"},
        {"title key", kPlain, [](CardRow& r) { r.textKeys = {}; }, "a localized title without key"},
        {"key gap", kPlain, [](CardRow& r) { r.textKeys = {"keyboard", "", "statusOFF"}; }, "a gap in the text keys"},
        {"biometric texts", kPlain,
         [](CardRow& r) { r.titleSource = TitleSource::Biometric; }, "biometric texts missing"},
        {"plain polls", kPlain, [](CardRow& r) { r.pollSelector = "refresh"; }, "a status card polls, no other does"},
        {"pill texts", kNetwork, [](CardRow& r) { r.textKeys = {"vpn"}; }, "a status card without both pill texts"},
        {"no poll", kNetwork, [](CardRow& r) { r.pollSelector = ""; }, "a status card polls, no other does"},
        {"no question", kNetwork, [](CardRow& r) { r.networkQuery = ""; }, "a network card asks one question"},
        {"question on a plain card", kPlain,
         [](CardRow& r) { r.networkQuery = "connectedToWiFi"; }, "a network card asks one question"},
        {"turn on a plain card", kPlain,
         [](CardRow& r) { r.pollsAfterColourPass = true; }, "only a network card chooses its timer's turn"},
        {"no source", kCounting, [](CardRow& r) { r.counts = CountSource::None; }, "a counting card counts one source"},
        {"format", kCounting, [](CardRow& r) { r.countFormat = "fonts"; }, "a count format without %ld"},
        {"format on a plain card", kPlain,
         [](CardRow& r) { r.countFormat = "%ld"; }, "a count format on a card that does not count"},
        {"folder", kCounting, [](CardRow& r) { r.countedFolder = ""; }, kFolderProblem},
        {"folder for store apps", kCounting, [](CardRow& r) { r.counts = CountSource::StoreApplications; },
         kFolderProblem},
        {"recorder on a network card", kNetwork,
         [](CardRow& r) { r.records = Radio::Bluetooth; }, "the recorder does not match the shape"},
        {"airplane without recorder", kPlain,
         [](CardRow& r) {
             r.shape = CardShape::Airplane;
             r.settingsPage = "";
             r.textKeys = {"airplaneMODE", "statusON", "statusOFF"};
             r.pollSelector = "checkAirplaneModeStatus";
         },
         "the recorder does not match the shape"},
    };
    for (const Case& c : cases) {
        CardRow row = c.base;
        c.change(row);
        EXPECT_EQ(cardRowProblem(row), std::optional<std::string_view>(c.problem)) << c.what;
    }
}

TEST(CardTableRows, RowsMayNotShareANameOrIdentifier) {
    struct Case {
        const char* what;
        std::function<void(CardRow&)> change;
        std::optional<std::string_view> problem;
    };
    const Case cases[] = {
        {"distinct", [](CardRow&) {}, std::nullopt},
        {"title", [](CardRow& r) { r.title = kPlain.title; }, "two rows with one title"},
        {"identifier", [](CardRow& r) { r.reuseIdentifier = kPlain.reuseIdentifier; },
         "two rows with one reuse identifier"},
        {"class", [](CardRow& r) { r.cardClass = kPlain.cardClass; }, "two rows with one class"},
    };
    for (const Case& c : cases) {
        std::array<CardRow, 2> rows{kPlain, kCounting};
        c.change(rows[1]);
        EXPECT_EQ(cardTableProblem(rows.data(), rows.size()), c.problem) << c.what;
    }
}

class CardTableClasses : public CardFixture {};

// Which shared class a card of each shape must be, seen through the C++ type of an instance.
bool isOfSharedClass(const Ref<VantileCardCell>& card, CardShape shape) {
    switch (shape) {
    case CardShape::Plain:
        return !cast<VantileStatusCell>(card) && !cast<VantileCountingCell>(card);
    case CardShape::Counting: return cast<VantileCountingCell>(card) != nullptr;
    case CardShape::Network: return cast<VantileNetworkCell>(card) != nullptr;
    case CardShape::Airplane: return cast<AirplaneCell>(card) != nullptr;
    case CardShape::Bluetooth: return cast<BluetoothCell>(card) != nullptr;
    }
    return false;
}

TEST_F(CardTableClasses, EveryRowIsARunTimeClassMadeFromItsShape) {
    for (const CardRow& row : kCardTable) {
        SCOPED_TRACE(std::string(row.cardClass));
        Class cls = objc_getClass(row.cardClass);
        ASSERT_TRUE(cls);
        EXPECT_EQ(platform::runtime::className(cls), row.cardClass);
        platform::resetRunLoop();
        auto card = makeCard(row.cardClass, {{0, 0}, {177.5, 120}});
        ASSERT_TRUE(card);
        EXPECT_EQ(card->className(), row.cardClass) << "an instance reports its row's class, not the shared one";
        EXPECT_TRUE(isOfSharedClass(card, row.shape));
        ASSERT_TRUE(card->kind());
        EXPECT_EQ(&card->kind()->row, &row);
        EXPECT_EQ(card->respondsToSelector(sel(row.polls() ? row.pollSelector : "refreshWiFi")), row.polls())
            << "only a polling card answers its poll, and no card another's";
        Ref<NSTimer>& timer = card->kind()->lastPollTimer;
        EXPECT_EQ(timer && timer->target() == card, row.polls()) << "a polling card's timer targets it";
        timer.reset();
    }
    platform::resetRunLoop();
}

// Each row's keys must be in the shipped tables: the bundle answers a missing key with the key itself, which a
// card would show as its title or pill.
TEST_F(CardTableClasses, EveryTextKeyIsInTheShippedLocalizations) {
    for (const CardRow& row : kCardTable) {
        const CardSettings& settings = cardKindForClass(row.cardClass)->settings;
        ASSERT_EQ(settings.texts().size(), row.textKeyCount()) << row.cardClass;
        for (const auto& [k, text] : settings.texts()) {
            EXPECT_FALSE(text.empty()) << row.cardClass << " " << k;
            EXPECT_NE(text, k) << row.cardClass << ": no text for the key";
        }
    }
}

}  // namespace
