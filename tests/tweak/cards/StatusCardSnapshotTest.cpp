// The four status cards as they look after a poll, on and off, in light and dark, with their view dumps.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/cards/RadioFlags.h"

#include "platform/core/RunLoop.h"
#include "platform/system/BSDNetwork.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/ViewDump.h"
#include "tests/support/Snapshot.h"

namespace {

using vantile::testing::CardFixture;
namespace bsd = platform::bsd;

class StatusCardSnapshots : public CardFixture {
protected:
    void TearDown() override {
        bsd::useMachineInterfaces();
        vantile::isAirplaneModeOn = false;
        vantile::isBluetoothOn = false;
        CardFixture::TearDown();
    }
};

TEST_F(StatusCardSnapshots, OnAndOffInLightAndDark) {
    for (bool on : {true, false}) {
        for (long style : {1L, 2L}) {
            const std::string name =
                std::string("card/status-") + (on ? "on" : "off") + (style == 1 ? "-light" : "-dark");
            SCOPED_TRACE(name);
            platform::resetRunLoop();
            vantile::isAirplaneModeOn = on;
            vantile::isBluetoothOn = on;
            if (on) bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "192.168.1.20"}, {"pdp_ip0", bsd::kAFInet, "10.64.0.3"}});
            else bsd::setSimulatedInterfaces({});

            // Two to a row with the grid's 10-point gaps, on the page colour of the appearance.
            auto page = alloc<UIView>();
            page->initWithFrame({{0, 0}, {375, 260}});
            page->setOverrideUserInterfaceStyle(style);
            page->setBackgroundColor(style == 1 ? UIColor::colorWithRedGreenBlueAlpha(0.95, 0.95, 0.97, 1)
                                                : UIColor::blackColor());
            const char* classes[] = {"AirplaneCell", "BluetoothCell", "WifiCell", "CellularCell"};
            for (int i = 0; i < 4; ++i) {
                const CGRect frame{{5 + (i % 2) * 187.5, 5.0 + (i / 2) * 130}, {177.5, 120}};
                page->addSubview(makeCard(classes[i], frame, style));
            }
            platform::RunLoop::main().advance(1);
            page->layoutIfNeeded();
            EXPECT_TRUE(vantile::testing::matchesSnapshot(platform::harness::renderView(page, {.scale = 2}), name));
            EXPECT_TRUE(vantile::testing::matchesTextSnapshot(platform::harness::dumpViewTree(page), name + ".json"));
        }
    }
}

}  // namespace
