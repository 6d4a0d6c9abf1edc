// The four live status cards: the pill, the poll timers and their order among the last build steps, the states
// and colours a poll shows, the airplane card's buttons, and the radio recorders fed by the host's reads.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/cards/AirplaneCell.h"
#include "tweak/cards/BluetoothCell.h"
#include "tweak/cards/CardKind.h"
#include "tweak/cards/RadioFlags.h"
#include "tweak/cards/VantileNetworkCell.h"

#include "platform/core/NSTimer.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/system/DeviceRadios.h"
#include "platform/system/BSDNetwork.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UITapGestureRecognizer.h"

namespace {

using vantile::testing::CardFixture;
using platform::system::DeviceRadios;
namespace key = vantile::key;
namespace bsd = platform::bsd;

constexpr CGRect kCardFrame{{10, 60}, {177.5, 120}};
constexpr RGBA kGreen{0x35 / 255.0, 0xC7 / 255.0, 0x59 / 255.0, 1};
constexpr RGBA kRed{0xFE / 255.0, 0x3B / 255.0, 0x30 / 255.0, 1};
constexpr RGBA kWhite{1, 1, 1, 1};

// How a test puts each card's source into a state.
struct StatusKind {
    const char* cardClass;
    const char* onText;
    const char* offText;
    CGFloat pillWidth;
    void (*setState)(bool on);
};

void setAirplane(bool on) { vantile::isAirplaneModeOn = on; }
void setBluetooth(bool on) { vantile::isBluetoothOn = on; }
void setWifi(bool on) { bsd::setSimulatedIPv4Address("en0", on ? std::optional<std::string>("192.168.1.20") : std::nullopt); }
void setCellular(bool on) { bsd::setSimulatedIPv4Address("pdp_ip0", on ? std::optional<std::string>("10.64.0.3") : std::nullopt); }

const StatusKind kKinds[] = {
    {"AirplaneCell", "ON", "OFF", 40, setAirplane},
    {"BluetoothCell", "ON", "OFF", 40, setBluetooth},
    {"WifiCell", "Connected", "Disconnected", 65, setWifi},
    {"CellularCell", "Connected", "Disconnected", 65, setCellular},
};

class StatusCards : public CardFixture {
protected:
    void SetUp() override {
        CardFixture::SetUp();
        bsd::setSimulatedInterfaces({});
        DeviceRadios::reset();
        vantile::isAirplaneModeOn = false;
        vantile::isBluetoothOn = false;
    }
    void TearDown() override {
        m_root.reset();
        CardFixture::TearDown();
        bsd::useMachineInterfaces();
        DeviceRadios::reset();
        platform::runtime::disableAllClassGroups();
        vantile::isAirplaneModeOn = false;
        vantile::isBluetoothOn = false;
    }
    static void tick(double seconds = 1.0) { platform::RunLoop::main().advance(seconds); }
    Ref<VantileCardCell> showCard(std::string_view cardClass, long style = 1) {
        m_root = makeRoot();
        auto card = makeCard(cardClass, kCardFrame, style);
        m_root->addSubview(card);
        m_root->layoutIfNeeded();
        return card;
    }
    void tapCard() {
        platform::TouchDriver(m_root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 60});
    }
    Ref<UIView> m_root;
};

TEST_F(StatusCards, PillGeometryReplacesTheSideInsets) {
    for (const StatusKind& k : kKinds) {
        SCOPED_TRACE(k.cardClass);
        auto card = showCard(k.cardClass);
        const auto& pill = card->subtitleLabel();
        const CGRect title = card->titleLabel()->convertRectToView(card->titleLabel()->bounds(), card);
        const CGRect frame = pill->convertRectToView(pill->bounds(), card);
        // Centred on the 177.5-wide card, 3 under the title, 10 high.
        EXPECT_DOUBLE_EQ(frame.size.width, k.pillWidth);
        EXPECT_DOUBLE_EQ(frame.size.height, 10);
        EXPECT_DOUBLE_EQ(frame.origin.x, (177.5 - k.pillWidth) / 2);
        EXPECT_DOUBLE_EQ(frame.origin.y, title.origin.y + title.size.height + 3);
        EXPECT_EQ(pill->layer()->cornerRadius(), 5);
        EXPECT_TRUE(pill->clipsToBounds());
        EXPECT_EQ(pill->text(), "") << "nothing until the first poll";
        EXPECT_FALSE(pill->backgroundColor());
    }
}

TEST_F(StatusCards, FirstPollExactlyOneSecondAfterBuildingThenEverySecond) {
    for (const StatusKind& k : kKinds) {
        SCOPED_TRACE(k.cardClass);
        platform::resetRunLoop();
        k.setState(true);
        auto card = makeCard(k.cardClass, kCardFrame);
        EXPECT_EQ(card->subtitleLabel()->text(), "");
        tick(0.999);
        EXPECT_EQ(card->subtitleLabel()->text(), "") << "no poll before one second";
        tick(0.001);
        EXPECT_EQ(card->subtitleLabel()->text(), k.onText);
        k.setState(false);
        tick(0.999);
        EXPECT_EQ(card->subtitleLabel()->text(), k.onText);
        tick(0.001);
        EXPECT_EQ(card->subtitleLabel()->text(), k.offText) << "a change shows within one second";
        k.setState(false);
    }
}

TEST_F(StatusCards, EachCardRunsItsOwnTimerThatKeepsItAlive) {
    for (const char* cardClass : {"AirplaneCell", "BluetoothCell", "WifiCell", "CellularCell"}) {
        SCOPED_TRACE(cardClass);
        vantile::cards::CardKind* kind = vantile::cards::cardKindForClass(cardClass);
        ASSERT_TRUE(kind);
        Ref<NSTimer>* variable = &kind->lastPollTimer;
        platform::resetRunLoop();
        const std::size_t timersBefore = NSTimer::liveTimerCount();
        Weak<VantileCardCell> first = makeCard(cardClass, kCardFrame);
        const Ref<NSTimer> firstTimer = *variable;
        ASSERT_TRUE(firstTimer);
        EXPECT_EQ(firstTimer->timeInterval(), 1.0);
        EXPECT_TRUE(firstTimer->repeats());
        EXPECT_EQ(firstTimer->target(), first.lock());
        Weak<VantileCardCell> second = makeCard(cardClass, kCardFrame);
        EXPECT_NE(*variable, firstTimer) << "the variable refers to the newest timer";
        EXPECT_EQ(NSTimer::liveTimerCount(), timersBefore + 2);
        tick(3);
        ASSERT_FALSE(first.expired()) << "the timer keeps a card nobody else holds";
        EXPECT_TRUE(firstTimer->isValid());
        EXPECT_EQ(firstTimer->fireCount(), 3u);
        EXPECT_EQ(first.lock()->subtitleLabel()->text(), second.lock()->subtitleLabel()->text());
        platform::resetRunLoop();
        EXPECT_TRUE(first.expired() && second.expired()) << "only the timers held the cards";
        variable->reset();
    }
}

// The order of the last build steps, seen from inside the colour pass: whether the card's timer and its tap
// recogniser already exist when "fetchColourOptions" runs.
struct Seen {
    bool timer = false;
    bool tap = false;
};
Seen g_seenAtColourPass;
void (*g_previousFetch)(NSObject*, SEL) = nullptr;
void observeFetch(NSObject* self, SEL cmd) {
    auto* card = dynamic_cast<VantileCardCell*>(self);
    g_seenAtColourPass.timer = NSTimer::liveTimerCount() > 0;
    g_seenAtColourPass.tap = card && !card->cellBaseView()->gestureRecognizers().empty();
    g_previousFetch(self, cmd);
}

TEST_F(StatusCards, TimerAndTapRecogniserComeInEachClassOrder) {
    static bool hooked = false;
    if (!hooked) {
        MSHookMessageEx(VantileCardCell::classObject(), sel("fetchColourOptions"), &observeFetch, &g_previousFetch);
        hooked = true;
    }
    struct Case {
        const char* cardClass;
        bool timerBeforeColours;
        bool tapBeforeColours;
        std::size_t buttons;
    };
    const Case cases[] = {
        {"BluetoothCell", true, true, 0},
        {"CellularCell", true, true, 0},
        {"WifiCell", false, true, 0},
        {"AirplaneCell", true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cardClass);
        platform::resetRunLoop();
        ASSERT_EQ(NSTimer::liveTimerCount(), 0u);
        auto card = makeCard(c.cardClass, kCardFrame);
        EXPECT_EQ(g_seenAtColourPass.timer, c.timerBeforeColours);
        EXPECT_EQ(g_seenAtColourPass.tap, c.tapBeforeColours);
        EXPECT_EQ(NSTimer::liveTimerCount(), 1u);
        EXPECT_EQ(card->cellBaseView()->subviews().size(), 3 + c.buttons);
    }
    // The hook stays for the program; it only watches and calls through.
}

struct ColourCase {
    const char* what;
    bool fontChroma;
    std::optional<std::string> storedOn, storedOff, storedText;
    RGBA on, off;
    RGBA text;
};

TEST_F(StatusCards, PollColoursFromStoredOrFallbackStrings) {
    const ColourCase cases[] = {
        {"nothing stored", false, {}, {}, {}, kGreen, kRed, kWhite},
        {"stored status colours", false, "0000FF", "FFFF0080", {}, {0, 0, 1, 1}, {1, 1, 0, 128 / 255.0}, kWhite},
        {"unusable length gives a transparent pill", false, "#35C759", "12345", {}, {0, 0, 0, 0}, {0, 0, 0, 0},
         kWhite},
        {"font chroma keeps the stored text colour", true, {}, {}, "102030", kGreen, kRed,
         {0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0, 1}},
        {"font chroma with nothing stored reads FFFFFF", true, {}, {}, {}, kGreen, kRed, kWhite},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.what);
        store(key::toggleCellsFontChroma, c.fontChroma);
        store(key::vantileStatusONChroma, c.storedOn ? Value(*c.storedOn) : Value());
        store(key::vantileStatusOFFChroma, c.storedOff ? Value(*c.storedOff) : Value());
        store(key::vantileCellsFontChroma, c.storedText ? Value(*c.storedText) : Value());
        for (const StatusKind& k : kKinds) {
            SCOPED_TRACE(k.cardClass);
            platform::resetRunLoop();
            auto card = makeCard(k.cardClass, kCardFrame);
            k.setState(true);
            tick();
            const auto& pill = card->subtitleLabel();
            expectColour(pill->backgroundColor(), c.on, "on background");
            expectColour(pill->textColor(), c.text, "on text");
            k.setState(false);
            tick();
            expectColour(pill->backgroundColor(), c.off, "off background");
            expectColour(pill->textColor(), c.text, "off text");
            EXPECT_EQ(card->kind()->lastOffString, c.storedOff.value_or("FE3B30"));
            EXPECT_EQ(card->kind()->lastOnString, c.storedOn.value_or("35C759"));
        }
    }
    store(key::vantileStatusONChroma, Value());
    store(key::vantileStatusOFFChroma, Value());
}

TEST_F(StatusCards, OnlyAnIPv4AddressConnects) {
    // Only the IPv4 address of en0 counts; an IPv6 one leaves the card disconnected.
    bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet6, "fe80::1"}, {"pdp_ip0", bsd::kAFInet, "10.0.0.1"}});
    auto wifi = makeCard("WifiCell", kCardFrame);
    auto cellular = makeCard("CellularCell", kCardFrame);
    tick();
    EXPECT_EQ(wifi->subtitleLabel()->text(), "Disconnected");
    EXPECT_EQ(cellular->subtitleLabel()->text(), "Connected");
}

TEST_F(StatusCards, AirplaneButtonsFollowTheRecordedState) {
    platform::runtime::enableClassGroup("RadiosPreferences");
    auto card = cast<AirplaneCell>(showCard("AirplaneCell"));
    ASSERT_TRUE(card);
    const auto& on = card->toggleONButton();
    const auto& off = card->toggleOFFButton();
    ASSERT_TRUE(on && off);
    EXPECT_EQ(card->cellBaseView()->subviews().back(), off) << "the OFF button lies on top";
    EXPECT_TRUE(card->cellBaseView()->gestureRecognizers().empty());
    EXPECT_EQ(on->titleForState(UIControlStateNormal), "");
    expectColour(on->titleColorForState(UIControlStateNormal), kWhite, "title colour");
    expectColour(on->backgroundColor(), {0, 0, 0, 0}, "button background");
    const CGRect buttonFrame = off->convertRectToView(off->bounds(), card);
    EXPECT_EQ(buttonFrame.size.width, kCardFrame.size.width);
    EXPECT_EQ(buttonFrame.size.height, kCardFrame.size.height);

    // Before the first poll both show and the tap reaches the OFF button.
    EXPECT_FALSE(on->isHidden());
    EXPECT_FALSE(off->isHidden());
    tapCard();
    EXPECT_EQ(DeviceRadios::airplaneModeRequests(), std::vector<bool>{false});

    vantile::isAirplaneModeOn = true;
    tick();
    EXPECT_TRUE(on->isHidden());
    EXPECT_FALSE(off->isHidden());
    EXPECT_EQ(card->subtitleLabel()->text(), "ON");
    platform::clearEffectLog();
    tapCard();
    const std::vector<platform::EffectRecord> expected{{"airplaneMode", "off", 0},
                                                       {"impact", "", UIImpactFeedbackStyleLight}};
    EXPECT_EQ(platform::effectLog(), expected);

    vantile::isAirplaneModeOn = false;
    tick();
    EXPECT_FALSE(on->isHidden());
    EXPECT_TRUE(off->isHidden());
    store(key::toggleHaptics, false);
    platform::clearEffectLog();
    tapCard();
    EXPECT_EQ(platform::effectLog(), (std::vector<platform::EffectRecord>{{"airplaneMode", "on", 1}}));
    EXPECT_EQ(DeviceRadios::airplaneModeRequests(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(card->subtitleLabel()->text(), "OFF") << "the display waits for the recorded state";
}

TEST_F(StatusCards, AirplaneTapWithoutTheServiceOnlyFiresTheHaptic) {
    showCard("AirplaneCell");
    tapCard();
    EXPECT_EQ(platform::effectLog(), (std::vector<platform::EffectRecord>{{"impact", "", UIImpactFeedbackStyleLight}}));
    EXPECT_TRUE(DeviceRadios::airplaneModeRequests().empty());
}

// The flags come only from the host's reads of the services, through the recorders installed at start-up.
TEST_F(StatusCards, RadioCardsShowWhatTheHostLastRead) {
    platform::runtime::enableClassGroup("RadiosPreferences");
    platform::runtime::enableClassGroup("BluetoothManager");
    static bool recorders = false;
    if (!recorders) {
        vantile::cards::installRadioRecorder(vantile::cards::Radio::AirplaneMode);
        vantile::cards::installRadioRecorder(vantile::cards::Radio::Bluetooth);
        recorders = true;
    }
    auto airplane = showCard("AirplaneCell");
    auto bluetooth = makeCard("BluetoothCell", kCardFrame);
    DeviceRadios::setAirplaneMode(true);
    DeviceRadios::setBluetoothPowered(true);
    tick(3);
    EXPECT_EQ(airplane->subtitleLabel()->text(), "OFF") << "a host that never reads leaves the card off";
    EXPECT_EQ(bluetooth->subtitleLabel()->text(), "OFF");
    EXPECT_EQ(DeviceRadios::airplaneModeQueries(), 0u) << "the cards never ask the service";

    DeviceRadios::readStatesAsHost();
    tick();
    EXPECT_EQ(airplane->subtitleLabel()->text(), "ON");
    EXPECT_EQ(bluetooth->subtitleLabel()->text(), "ON");

    // A host that reads again whenever the device tells it of a change: a tap turns the card off at the next poll.
    const std::size_t token = DeviceRadios::addChangeObserver([] { DeviceRadios::readStatesAsHost(); });
    tapCard();
    tick();
    EXPECT_EQ(airplane->subtitleLabel()->text(), "OFF");
    DeviceRadios::removeChangeObserver(token);
    DeviceRadios::setAirplaneMode(true);
    tick();
    EXPECT_EQ(airplane->subtitleLabel()->text(), "OFF") << "no reader, no change";
}

TEST_F(StatusCards, NetworkCardsOpenTheirPages) {
    platform::runtime::enableClassGroup("Preferences");
    ASSERT_TRUE(objc_getClass("PSURLManager")) << "the host's URL manager must be in this program";
    store(key::toggleHaptics, false);
    const std::pair<const char*, const char*> cases[] = {
        {"BluetoothCell", "prefs:root=Bluetooth"},
        {"WifiCell", "prefs:root=WIFI"},
        {"CellularCell", "prefs:root=MOBILE_DATA_SETTINGS_ID"},
    };
    for (const auto& [cardClass, address] : cases) {
        showCard(cardClass);
        platform::clearEffectLog();
        tapCard();
        EXPECT_EQ(platform::effectsOfKind("openURL"), (std::vector<platform::EffectRecord>{{"openURL", address, 0}}))
            << cardClass;
    }
}

}  // namespace
