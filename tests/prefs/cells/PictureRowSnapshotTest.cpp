// The picture row on the pane's own profile page, as a user sees it: the photo library it opens, and the page once a
// picture is chosen (the row's round thumbnail, and the profile row showing the picture when the page opens again).
#include "prefs/cells/VNTPicturePickerCell.h"
#include "prefs/pane/VNTPrimraryController.h"

#include "platform/core/Runtime.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSSpecifier.h"
#include "platform/media/UIImagePickerController.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/pane/PaneFixture.h"
#include "tests/support/Snapshot.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using platform::msgSend;

class PictureRowOnThePane : public panetest::PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        const fs::path built = fs::path(VANTILE_BUILD_DIR) / "device/var/mobile/Media/DCIM";
        fs::create_directories(hostPath("/var/mobile/Media"));
        fs::copy(built, hostPath("/var/mobile/Media/DCIM"), fs::copy_options::recursive);
    }
    void openProfilePage(const Ref<VNTPrimraryController>& root) {
        auto row = PSSpecifier::groupSpecifierWithName("Profile");
        row->setIdentifier("VNTProfileController");
        msgSend<void>(root, sel("openController:"), id(row));
        settle();
    }
    Ref<VNTPicturePickerCell> pictureRow() const {
        auto page = cast<PSListController>(m_navigation->topViewController());
        if (!page) return nullptr;
        for (const auto& cell : page->table()->visibleCells())
            if (auto row = cast<VNTPicturePickerCell>(cell)) return row;
        return nullptr;
    }
    void tapCentre(const Ref<UIView>& view) {
        const CGRect b = view->bounds();
        platform::TouchDriver(m_window).tap(view->convertPointToView({b.midX(), b.midY()}, m_window));
        settle();
    }
    bool matches(const std::string& name) {
        m_window->layoutIfNeeded();
        return vantile::testing::matchesSnapshot(platform::harness::renderView(m_window), "pane/" + name);
    }
};

TEST_F(PictureRowOnThePane, LibraryPickerThenTheChosenPicture) {
    storeThemes({"Default"});
    auto root = makeRoot();
    present(root);
    settle();
    openProfilePage(root);
    auto row = pictureRow();
    ASSERT_TRUE(row) << "the profile page has a picture row";
    tapCentre(row);
    auto picker = cast<UIImagePickerController>(m_navigation->topViewController()->presentedViewController());
    ASSERT_TRUE(picker) << "the row opens the photo library";
    EXPECT_TRUE(picker->thumbnailNamed("IMG_0005.MOV")) << "the profile row allows movies";
    EXPECT_TRUE(matches("photo-picker"));

    tapCentre(picker->thumbnailNamed("IMG_0004.JPG"));
    ASSERT_FALSE(m_navigation->topViewController()->presentedViewController());
    ASSERT_TRUE(row->previewImage()->image());
    EXPECT_TRUE(stored("profilePicture").isData());

    // Opened again, the page's profile row shows the stored picture too.
    m_navigation->popViewControllerAnimated(false);
    openProfilePage(root);
    EXPECT_TRUE(matches("profile-picture"));
}

}  // namespace
