#include "tests/tweak/dashboard/EditorFixture.h"

#include "tweak/dashboard/VantileTableView.h"
#include "tweak/dashboard/VantileViewController.h"

#include "tests/support/DashboardFixture.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIColor.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <vector>

namespace vantile::testing {

namespace {

// A plain disc of `argb` on transparent, so the header's images show where they sit.
void writeDisc(const std::filesystem::path& file, std::uint32_t argb) {
    constexpr int kSize = 24;
    std::vector<std::uint32_t> pixels(kSize * kSize, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x + 1 - kSize, dy = 2 * y + 1 - kSize;
            if (dx * dx + dy * dy <= kSize * kSize) pixels[static_cast<std::size_t>(y * kSize + x)] = argb;
        }
    CGImageRef image = platform::gfx::createImageFromARGB32(kSize, kSize, pixels.data(), kSize * 4);
    platform::gfx::writePNG(image, file);
    CGImageRelease(image);
}

}  // namespace

void EditorFixture::SetUpTestSuite() {
    CardFixture::SetUpTestSuite();
    const std::string assets(kTweakAssets);
    writeDisc(*platform::devicePath(assets + "done.png"), 0xFF000000);
    writeDisc(*platform::devicePath(assets + "vantile-setting.png"), 0xFF5856D6);
}

void EditorFixture::SetUp() {
    CardFixture::SetUp();
    store(key::vantileDisabledArray, Value());
    platform::clearNotificationRecords();
}

void EditorFixture::TearDown() {
    if (m_root && m_root->presentedViewController()) m_root->dismissViewControllerAnimatedCompletion(false);
    m_root.reset();
    m_window.reset();
    CardFixture::TearDown();
}

void EditorFixture::showDashboard(long style) {
    m_window = alloc<UIWindow>();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    m_window->setOverrideUserInterfaceStyle(style);
    m_root = alloc<UIViewController>();
    m_root->init();
    m_root->view()->setBackgroundColor(style == 2 ? UIColor::blackColor()
                                                  : UIColor::colorWithRedGreenBlueAlpha(0.95, 0.95, 0.96, 1.0));
    m_root->view()->addSubview(vantile::testing::makeDashboardView());
    m_window->setRootViewController(m_root);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();
}

Ref<VantileViewController> EditorFixture::open(long style) {
    if (!m_window || m_window->overrideUserInterfaceStyle() != style) showDashboard(style);
    if (m_root->presentedViewController()) m_root->dismissViewControllerAnimatedCompletion(false);
    // As the gear button does: by name, "init", then presented from the root page.
    id editor = platform::runtime::createInstance(objc_getClass("VantileViewController"));
    platform::msgSend(editor.get(), sel("init"));
    m_root->presentViewControllerAnimatedCompletion(cast<UIViewController>(editor), false);
    m_window->layoutIfNeeded();
    return cast<VantileViewController>(editor);
}

Ref<UIViewController> EditorFixture::presented() const { return m_root ? m_root->presentedViewController() : nullptr; }

Ref<UITableView> EditorFixture::table() {
    const auto& holder = VantileViewController::vantileTableView();
    return holder ? holder->vantileTableView() : nullptr;
}

void EditorFixture::dragRow(IndexPath from, CGFloat centreY) {
    auto t = table();
    ASSERT_TRUE(t);
    const CGRect row = t->rectForRowAtIndexPath(from);
    ASSERT_GT(row.height(), 0) << "no row " << from.section << "/" << from.row;
    // Grabbed at its centre, the row's centre follows the finger.
    const CGFloat x = t->bounds().width() - UITableViewCell::kReorderControlWidth / 2;
    const CGPoint start = t->convertPointToView({x, row.midY()}, m_window);
    const CGPoint end = t->convertPointToView({x, centreY}, m_window);
    platform::TouchDriver(m_window).drag({start, {x, (start.y + end.y) / 2}, end}, 0.4);
}

}  // namespace vantile::testing
