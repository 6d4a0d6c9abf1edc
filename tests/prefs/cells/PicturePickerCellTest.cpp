// The picture row: what it stores for each choice from the photo library (picked through the picker's own screen
// with the touch driver), what it shows, and the bad inputs of its specifier, the library and the disk.
#include "prefs/cells/VNTPicturePickerCell.h"

#include "platform/core/CFNotificationCenter.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/core/NSURL.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/NSUserDefaults.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListController.h"
#include "platform/media/AVAssetExportSession.h"
#include "platform/media/MovieFile.h"
#include "platform/media/PhotoLibrary.h"
#include "platform/media/UIImagePickerController.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using platform::msgSend;

constexpr std::string_view kDomain = "com.Zorvanic.VantilePrefs";
constexpr std::string_view kKey = "profilePicture";
constexpr std::string_view kPosted = "com.Zorvanic.VantilePrefs/settingschanged";

class PicturePage : public PSListController {
    VT_OBJECT(PicturePage, PSListController)
};

}  // namespace

VT_REGISTER_CLASS(PicturePage)

namespace {

class PicturePicker : public kittest::KitFixture {
protected:
    void SetUp() override {
        KitFixture::SetUp();
        const fs::path built = fs::path(VANTILE_BUILD_DIR) / "device/var/mobile/Media/DCIM";
        ASSERT_TRUE(fs::is_directory(built)) << "the build paints the photo library at " << built;
        fs::create_directories(hostPath("/var/mobile/Media"));
        fs::copy(built, hostPath("/var/mobile/Media/DCIM"), fs::copy_options::recursive);
        platform::clearNotificationRecords();
        platform::media::setMediaFreeSpace(std::nullopt);
    }
    void TearDown() override {
        platform::media::setMediaFreeSpace(std::nullopt);
        KitFixture::TearDown();
    }

    struct Row {
        std::vector<std::pair<std::string_view, std::string_view>> strings;
        std::vector<std::pair<std::string_view, Value>> values;
    };
    // A page with one picture row of these properties, shown; answers the row's cell.
    Ref<VNTPicturePickerCell> showRow(const Row& row) {
        m_page = alloc<PicturePage>();
        auto entry = kitEntry("VNTPicturePickerCell", PSSpecifier::PSButtonCell,
                              {{"label", "Picture"}, {"header", "Profile Picture"}, {"subtitle", "Pick one"},
                               {"action", "chooseImage"}, {"key", kKey}, {"defaults", kDomain},
                               {"PostNotification", kPosted}});
        entry->setPropertyForKey(Property(70), "height");
        for (const auto& [k, v] : row.strings) entry->setPropertyForKey(Property(std::string(v)), k);
        for (const auto& [k, v] : row.values) entry->setPropertyForKey(Property(v), k);
        entry->setTarget(m_page);
        showList(m_page, {PSSpecifier::groupSpecifierWithName(""), entry});
        return cast<VNTPicturePickerCell>(m_page->table()->cellForRowAtIndexPath({0, 0}));
    }
    void settle(double seconds = 1) {
        platform::RunLoop::main().advance(seconds);
        m_window->layoutIfNeeded();
    }
    Ref<UIImagePickerController> openPicker(const Ref<VNTPicturePickerCell>& cell) {
        const CGRect b = cell->bounds();
        platform::TouchDriver(m_window).tap(cell->convertPointToView({b.midX(), b.midY()}, m_window));
        settle();
        return cast<UIImagePickerController>(m_page->presentedViewController());
    }
    // Opens the picker from the row and taps the thumbnail of a library item, as a person does.
    void pick(const Ref<VNTPicturePickerCell>& cell, std::string_view name) {
        auto picker = openPicker(cell);
        ASSERT_TRUE(picker) << "a tap on the row presents the picker";
        auto thumbnail = picker->thumbnailNamed(name);
        ASSERT_TRUE(thumbnail) << name << " is offered";
        const CGRect b = thumbnail->bounds();
        EXPECT_EQ(platform::TouchDriver(m_window).tap(thumbnail->convertPointToView({b.midX(), b.midY()}, m_window)),
                  Ref<UIView>(thumbnail));
        settle();
    }
    static Value storedPicture() { return NSUserDefaults::standardUserDefaults()->objectForKeyInDomain(kKey, kDomain); }
    Value::Data libraryBytes(std::string_view name) const {
        std::ifstream in(hostPath("/var/mobile/Media/DCIM/100APPLE/" + std::string(name)), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::size_t posts() { return platform::notificationCount(platform::NotificationKind::Darwin, kPosted); }
    void addToLibrary(const std::string& name, const Value::Data& bytes) {
        const fs::path file = m_root->path() / name;
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(platform::media::addToPhotoLibrary(file).item);
    }

    Ref<PicturePage> m_page;
};

// The stored bytes for each format choice, against the platform's own encoders and the library's file.
TEST_F(PicturePicker, StoresThePictureInTheRowsFormat) {
    struct Case {
        const char* name;
        Row row;
        std::string_view item;
        std::function<Value::Data(const Value::Data& original)> expected;
    };
    auto decoded = [](const Value::Data& bytes) { return UIImage::imageWithData(bytes); };
    const std::vector<Case> cases{
        {"JPEG at 0.5", {{}, {{"usesJPEG", Value(true)}, {"compressionQuality", Value(0.5)}}}, "IMG_0001.JPG",
         [&](const Value::Data& o) { return *UIImageJPEGRepresentation(decoded(o), 0.5); }},
        {"JPEG without a quality is at 1", {{}, {{"usesJPEG", Value(true)}}}, "IMG_0002.PNG",
         [&](const Value::Data& o) { return *UIImageJPEGRepresentation(decoded(o), 1.0); }},
        {"JPEG wins over GIF", {{}, {{"usesJPEG", Value(true)}, {"usesGIF", Value(true)}}}, "IMG_0003.GIF",
         [&](const Value::Data& o) { return *UIImageJPEGRepresentation(decoded(o), 1.0); }},
        {"original bytes with GIF", {{}, {{"usesGIF", Value(true)}}}, "IMG_0003.GIF",
         [](const Value::Data& o) { return o; }},
        {"PNG with neither", {}, "IMG_0001.JPG", [&](const Value::Data& o) { return *UIImagePNGRepresentation(decoded(o)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSUserDefaults::standardUserDefaults()->removeObjectForKeyInDomain(kKey, kDomain);
        const std::size_t before = posts();
        auto cell = showRow(c.row);
        ASSERT_TRUE(cell);
        pick(cell, c.item);
        const Value stored = storedPicture();
        ASSERT_TRUE(stored.asData()) << "a picture is stored";
        EXPECT_EQ(*stored.asData(), c.expected(libraryBytes(c.item)));
        EXPECT_EQ(posts(), before + 1);
        EXPECT_FALSE(m_page->presentedViewController()) << "the picker is dismissed";
        ASSERT_TRUE(cell->previewImage()->image());
        EXPECT_EQ(cell->previewImage()->image()->bitmap(), decoded(libraryBytes(c.item))->bitmap());
        ASSERT_TRUE(cell->activityIndicator());
        EXPECT_FALSE(cell->activityIndicator()->isAnimating());
        EXPECT_TRUE(cell->activityIndicator()->isHidden());
    }
}

// The JPEG really carries the quality: a lower quality gives fewer bytes of the same picture.
TEST_F(PicturePicker, JpegQualityIsHonoured) {
    std::vector<std::size_t> sizes;
    for (double quality : {0.1, 0.5, 1.0}) {
        auto cell = showRow({{}, {{"usesJPEG", Value(true)}, {"compressionQuality", Value(quality)}}});
        pick(cell, "IMG_0001.JPG");
        ASSERT_TRUE(storedPicture().asData());
        EXPECT_EQ(platform::gfx::sniffImageFormat(*storedPicture().asData()), platform::gfx::ImageFormat::JPEG);
        sizes.push_back(storedPicture().asData()->size());
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_LT(sizes[1], sizes[2]);
}

TEST_F(PicturePicker, CompressionQualityOutsideItsRangeOrNoNumber) {
    struct Case {
        Value given;
        double used;
    };
    const std::vector<Case> cases{{Value(-0.5), 0.0}, {Value(7.0), 1.0}, {Value(std::string("half")), 1.0},
                                  {Value(0.25), 0.25}, {Value(std::nan("")), 1.0}};
    for (const Case& c : cases) {
        auto cell = showRow({{}, {{"usesJPEG", Value(true)}, {"compressionQuality", c.given}}});
        EXPECT_DOUBLE_EQ(cell->compressionQuality(), c.used);
    }
}

TEST_F(PicturePicker, PickerOffersMoviesOnlyWhenTheRowAllowsThem) {
    for (bool allows : {false, true}) {
        SCOPED_TRACE(allows ? "allowsVideos" : "images only");
        auto cell = showRow({{}, {{"allowsVideos", Value(allows)}}});
        auto picker = openPicker(cell);
        ASSERT_TRUE(picker);
        EXPECT_EQ(static_cast<bool>(picker->thumbnailNamed("IMG_0005.MOV")), allows);
        EXPECT_TRUE(picker->thumbnailNamed("IMG_0001.JPG"));
        EXPECT_EQ(picker->delegate(), id(cell));
        m_page->dismissViewControllerAnimatedCompletion(false);
    }
}

TEST_F(PicturePicker, CancelStoresNothingAndDismisses) {
    NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(libraryBytes("IMG_0002.PNG")), kKey, kDomain);
    auto cell = showRow({});
    auto picker = openPicker(cell);
    ASSERT_TRUE(picker);
    auto cancel = picker->navigationBar()->rightItemViews();
    ASSERT_EQ(cancel.size(), 1u);
    const CGRect b = cancel[0]->bounds();
    platform::TouchDriver(m_window).tap(cancel[0]->convertPointToView({b.midX(), b.midY()}, m_window));
    settle();
    EXPECT_FALSE(m_page->presentedViewController());
    EXPECT_EQ(*storedPicture().asData(), libraryBytes("IMG_0002.PNG"));
    EXPECT_EQ(posts(), 0u);
}

// A movie goes to "videoPath" in the container its extension names (read back from the file), off the main thread;
// the stored picture is removed and the change posted at once, before the export finished.
TEST_F(PicturePicker, MovieIsExportedInTheContainerOfItsPath) {
    struct Case {
        const char* path;
        platform::media::MovieContainer container;
    };
    const std::vector<Case> cases{{"/var/mobile/Library/Vantile/profile.MOV", platform::media::MovieContainer::QuickTime},
                                  {"/var/mobile/Library/Vantile/profile.mov", platform::media::MovieContainer::QuickTime},
                                  {"/var/mobile/Library/Vantile/profile.mp4", platform::media::MovieContainer::MPEG4},
                                  {"/var/mobile/Library/Vantile/profile.movie", platform::media::MovieContainer::MPEG4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(libraryBytes("IMG_0002.PNG")), kKey,
                                                                        kDomain);
        auto cell = showRow({{{"videoPath", c.path}}, {{"allowsVideos", Value(true)}}});
        const std::size_t before = posts();
        auto picker = openPicker(cell);
        ASSERT_TRUE(picker);
        auto thumbnail = picker->thumbnailNamed("IMG_0005.MOV");
        ASSERT_TRUE(thumbnail);
        const CGRect b = thumbnail->bounds();
        platform::TouchDriver(m_window).tap(thumbnail->convertPointToView({b.midX(), b.midY()}, m_window));
        // The choice itself, before any turn of the loop: the picture is gone and the change posted already.
        EXPECT_TRUE(storedPicture().isNone());
        EXPECT_EQ(posts(), before + 1);
        settle();
        const fs::path file = hostPath(c.path);
        ASSERT_TRUE(fs::exists(file));
        EXPECT_EQ(platform::media::containerOfFile(file), c.container);
        EXPECT_NE(AVAssetExportSession::lastCompletionThread(), std::this_thread::get_id())
            << "the export completes on a platform thread";
        ASSERT_TRUE(cell->previewImage()->image()) << "the first frame reaches the thumbnail on the main thread";
        EXPECT_EQ(cell->previewImage()->image()->size(), CGSizeMake(160, 120));
        EXPECT_EQ(posts(), before + 1) << "the export's end posts nothing more";
        fs::remove(file);
    }
}

TEST_F(PicturePicker, PictureDeletesTheStoredMovie) {
    const std::string path = "/var/mobile/Library/Vantile/profile.mov";
    auto cell = showRow({{{"videoPath", path}}, {{"allowsVideos", Value(true)}}});
    pick(cell, "IMG_0005.MOV");
    ASSERT_TRUE(fs::exists(hostPath(path)));
    pick(cell, "IMG_0004.JPG");
    EXPECT_FALSE(fs::exists(hostPath(path)));
    EXPECT_TRUE(storedPicture().asData());
}

// What the row shows when it first reaches a window: the stored picture with the accent border, else the movie's
// first frame, else nothing; data that is no image, a huge value or a broken movie show nothing and do not crash.
TEST_F(PicturePicker, ThumbnailShowsWhatIsStored) {
    const std::string path = "/var/mobile/Library/Vantile/profile.mov";
    const fs::path movie = hostPath(path);
    fs::create_directories(movie.parent_path());
    struct Case {
        const char* name;
        std::optional<Value::Data> picture;
        std::optional<std::string> movieFrom;  // library item copied to videoPath, or "truncated"
        std::optional<CGSize> shown;
        bool border;
    };
    const Value::Data junk(20 * 1024 * 1024, 0x5A);
    const std::vector<Case> cases{
        {"picture", libraryBytes("IMG_0002.PNG"), std::nullopt, CGSizeMake(400, 400), true},
        {"picture over a movie", libraryBytes("IMG_0001.JPG"), "IMG_0005.MOV", CGSizeMake(640, 480), true},
        {"movie", std::nullopt, "IMG_0005.MOV", CGSizeMake(160, 120), false},
        {"20 MB that are no picture, and a movie", junk, "IMG_0005.MOV", CGSizeMake(160, 120), false},
        {"truncated movie", std::nullopt, "truncated", std::nullopt, false},
        {"nothing", std::nullopt, std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectTheme(vnt::Theme::Ocean);
        NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(c.picture ? Value(*c.picture) : Value(), kKey,
                                                                        kDomain);
        fs::remove(movie);
        if (c.movieFrom == "truncated") {
            const auto whole = libraryBytes("IMG_0005.MOV");
            std::ofstream(movie, std::ios::binary).write(reinterpret_cast<const char*>(whole.data()),
                                                         static_cast<std::streamsize>(whole.size() / 2));
        } else if (c.movieFrom) {
            fs::copy_file(hostPath("/var/mobile/Media/DCIM/100APPLE/" + *c.movieFrom), movie);
        }
        auto cell = showRow({{{"videoPath", path}}, {}});
        ASSERT_TRUE(cell->previewImage());
        EXPECT_EQ(cell->accessoryView(), Ref<UIView>(cell->previewImage()));
        EXPECT_EQ(cell->previewImage()->frame().size, CGSizeMake(60, 60));
        EXPECT_EQ(cell->previewImage()->layer()->cornerRadius(), 30);
        const auto image = cell->previewImage()->image();
        EXPECT_EQ(static_cast<bool>(image), c.shown.has_value());
        if (image && c.shown) {
            EXPECT_EQ(image->size(), *c.shown);
        }
        EXPECT_EQ(cell->previewImage()->layer()->borderWidth(), c.border ? 1 : 0);
        if (c.border) {
            EXPECT_TRUE(cell->previewImage()->layer()->borderColor());
        }
    }
}

// Bytes in the library that are no picture: nothing stored, nothing posted, the picker still goes, and a stored
// movie stays.
TEST_F(PicturePicker, LibraryBytesThatAreNoPicture) {
    addToLibrary("BROKEN.JPG", Value::Data(4096, 0x42));
    NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(libraryBytes("IMG_0002.PNG")), kKey, kDomain);
    const std::string movie = "/var/mobile/Library/Vantile/profile.mov";
    fs::create_directories(hostPath(movie).parent_path());
    fs::copy_file(hostPath("/var/mobile/Media/DCIM/100APPLE/IMG_0005.MOV"), hostPath(movie));
    for (bool gif : {false, true}) {
        SCOPED_TRACE(gif ? "original bytes" : "PNG");
        auto cell = showRow({{{"videoPath", movie}}, {{"usesGIF", Value(gif)}}});
        pick(cell, "BROKEN.JPG");
        EXPECT_TRUE(fs::exists(hostPath(movie))) << "the movie is not lost for nothing";
        EXPECT_EQ(*storedPicture().asData(), libraryBytes("IMG_0002.PNG"));
        EXPECT_EQ(posts(), 0u);
        EXPECT_FALSE(m_page->presentedViewController());
        EXPECT_TRUE(cell->activityIndicator()->isHidden());
    }
}

// A choice whose result names no asset: nothing stored, the picker dismissed, the indicator stopped.
TEST_F(PicturePicker, ChoiceWithoutAnAsset) {
    auto cell = showRow({});
    auto picker = openPicker(cell);
    ASSERT_TRUE(picker);
    for (const char* url : {"", "assets-library://asset/asset.JPG?id=IMG_9999&ext=JPG"}) {
        SCOPED_TRACE(url);
        auto info = alloc<NSMutableDictionary>();
        if (*url) info->setObjectForKey(NSURL::URLWithString(url), UIImagePickerControllerReferenceURL);
        msgSend<void>(cell, sel("imagePickerController:didFinishPickingMediaWithInfo:"), picker, info);
        settle();
        EXPECT_TRUE(storedPicture().isNone());
        EXPECT_EQ(posts(), 0u);
        EXPECT_FALSE(m_page->presentedViewController());
        EXPECT_TRUE(cell->activityIndicator()->isHidden());
        m_page->presentViewControllerAnimatedCompletion(picker, false);
    }
}

// Paths the row must not delete or write: nothing lands outside the writable folders, the stored picture stays.
TEST_F(PicturePicker, UnusableVideoPathsWriteNothing) {
    NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(libraryBytes("IMG_0002.PNG")), kKey, kDomain);
    for (const char* path : {"/Library/PreferenceBundles/movie.mov", "/var/mobile/../../Library/movie.mov",
                             "var/mobile/movie.mov", ""}) {
        SCOPED_TRACE(path);
        auto cell = showRow({{{"videoPath", path}}, {{"allowsVideos", Value(true)}}});
        pick(cell, "IMG_0005.MOV");
        EXPECT_FALSE(fs::exists(hostPath("/Library/PreferenceBundles/movie.mov")));
        EXPECT_FALSE(fs::exists(hostPath("/Library/movie.mov")));
        EXPECT_TRUE(storedPicture().asData()) << "a movie that cannot be written replaces nothing";
        EXPECT_EQ(posts(), 0u);
    }
}

// The disk fills half-way through the export: nothing is left at "videoPath" and the thumbnail shows nothing.
TEST_F(PicturePicker, ExportFailingHalfWayLeavesNoMovie) {
    const std::string path = "/var/mobile/Library/Vantile/profile.mp4";
    const auto whole = libraryBytes("IMG_0005.MOV");
    platform::media::setMediaFreeSpace(whole.size() / 2);
    auto cell = showRow({{{"videoPath", path}}, {{"allowsVideos", Value(true)}}});
    pick(cell, "IMG_0005.MOV");
    EXPECT_FALSE(fs::exists(hostPath(path)));
    EXPECT_FALSE(cell->previewImage()->image());
}

TEST_F(PicturePicker, ParseImageDecodesOnlyPictures) {
    EXPECT_TRUE(VNTParseImage(libraryBytes("IMG_0001.JPG")));
    EXPECT_TRUE(VNTParseImage(libraryBytes("IMG_0003.GIF")));
    EXPECT_FALSE(VNTParseImage(libraryBytes("IMG_0005.MOV")));
    EXPECT_FALSE(VNTParseImage({}));
}

}  // namespace
