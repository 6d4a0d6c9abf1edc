// The photo library of the device and what Photos and AVFoundation make of it: items, reference URLs, assets,
// image data and export sessions, answering on later turns and on the platform's thread as the device does.
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/media/AVAssetExportSession.h"
#include "platform/media/AVAssetImageGenerator.h"
#include "platform/media/MovieFile.h"
#include "platform/media/PHAsset.h"
#include "platform/media/PHImageManager.h"
#include "platform/media/PhotoLibrary.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace platform::media;

class Photos : public testing::Test {
protected:
    void SetUp() override {
        m_root.useAsDeviceRoot();
        const fs::path built = fs::path(VANTILE_BUILD_DIR) / "device/var/mobile/Media/DCIM";
        ASSERT_TRUE(fs::is_directory(built));
        fs::create_directories(m_root.path() / "var/mobile/Media");
        fs::copy(built, m_root.path() / "var/mobile/Media/DCIM", fs::copy_options::recursive);
        setMediaFreeSpace(std::nullopt);
    }
    void TearDown() override {
        setMediaFreeSpace(std::nullopt);
        platform::resetRunLoop();
    }
    fs::path host(std::string_view devicePath) const { return m_root.path() / std::string(devicePath.substr(1)); }
    Ref<PHAsset> asset(std::string_view name) {
        auto item = photoLibraryItemNamed(name);
        return item ? PHAsset::assetForItem(*item) : nullptr;
    }

    testing_support::TemporaryRoot m_root{"photos"};
};

TEST_F(Photos, LibraryHoldsThePaintedItemsInOrder) {
    std::vector<std::string> names;
    std::vector<MediaKind> kinds;
    for (const auto& item : photoLibraryItems()) {
        names.push_back(item.name);
        kinds.push_back(item.kind);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"IMG_0001.JPG", "IMG_0002.PNG", "IMG_0003.GIF", "IMG_0004.JPG",
                                               "IMG_0005.MOV"}));
    EXPECT_EQ(kinds.back(), MediaKind::Video);
    EXPECT_EQ(kinds.front(), MediaKind::Image);
    EXPECT_EQ(containerOfFile(host(std::string(kPhotoLibraryFolder) + "/IMG_0005.MOV")), MovieContainer::QuickTime);
    const auto info = movieInfo(host(std::string(kPhotoLibraryFolder) + "/IMG_0005.MOV"));
    ASSERT_TRUE(info);
    EXPECT_NEAR(info->duration, 1.0, 0.15);
}

TEST_F(Photos, ReferenceURLsNameTheirItemOnly) {
    const auto item = photoLibraryItemNamed("IMG_0003.GIF");
    ASSERT_TRUE(item);
    const std::string url = referenceURLForItem(*item);
    EXPECT_EQ(url, "assets-library://asset/asset.GIF?id=IMG_0003&ext=GIF");
    EXPECT_EQ(itemForReferenceURL(url), item);
    for (const char* bad : {"assets-library://asset/asset.GIF?id=IMG_0003&ext=PNG", "assets-library://asset/asset.GIF",
                            "https://example.com/asset.GIF?id=IMG_0003&ext=GIF",
                            "assets-library://asset/asset.GIF?id=../IMG_0003&ext=GIF",
                            "assets-library://asset/asset.JPG?id=IMG_9999&ext=JPG", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(itemForReferenceURL(bad));
    }
    auto fetched = PHAsset::fetchAssetsWithALAssetURLsOptions(
        {NSURL::URLWithString(url), nullptr, NSURL::URLWithString("assets-library://asset/asset.MOV?id=IMG_0005&ext=MOV")},
        nullptr);
    ASSERT_EQ(fetched->count(), 2u);
    EXPECT_EQ(fetched->firstObject()->mediaType(), PHAssetMediaTypeImage);
    EXPECT_TRUE(fetched->lastObject()->isVideo());
    EXPECT_FALSE(fetched->objectAtIndex(2));
}

TEST_F(Photos, AddingToTheLibrary) {
    const fs::path outside = m_root.path() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "holiday.png") << "not really";
    std::ofstream(outside / "notes.txt") << "text";
    EXPECT_TRUE(addToPhotoLibrary(outside / "holiday.png").item);
    EXPECT_TRUE(photoLibraryItemNamed("holiday.png"));
    EXPECT_NE(addToPhotoLibrary(outside / "holiday.png").error.find("already"), std::string::npos);
    EXPECT_FALSE(addToPhotoLibrary(outside / "notes.txt").item);
    EXPECT_FALSE(addToPhotoLibrary(outside / "missing.jpg").item);
}

// Image data arrives on a later turn of the main loop, never inside the call, and is the file's own bytes.
TEST_F(Photos, ImageDataIsTheOriginalBytesOnALaterTurn) {
    struct Case {
        const char* name;
        bool data;
        const char* uti;
    };
    for (const Case& c : {Case{"IMG_0001.JPG", true, "public.jpeg"}, Case{"IMG_0003.GIF", true, "com.compuserve.gif"},
                          Case{"IMG_0005.MOV", false, ""}}) {
        SCOPED_TRACE(c.name);
        bool called = false;
        std::optional<PHImageManager::ImageData> got;
        std::string uti;
        PHImageManager::defaultManager()->requestImageDataForAssetOptionsResultHandler(
            asset(c.name), nullptr, [&](std::optional<PHImageManager::ImageData> d, std::string u, long, id) {
                called = true;
                got = std::move(d);
                uti = std::move(u);
            });
        EXPECT_FALSE(called);
        platform::RunLoop::main().drain();
        ASSERT_TRUE(called);
        EXPECT_EQ(got.has_value(), c.data);
        EXPECT_EQ(uti, c.uti);
        if (got) {
            std::ifstream in(host(std::string(kPhotoLibraryFolder) + "/" + c.name), std::ios::binary);
            EXPECT_EQ(*got, PHImageManager::ImageData(std::istreambuf_iterator<char>(in), {}));
        }
    }
}

// The export runs on the platform's thread; its handler is called there; the main loop waits for it, so the
// hand-off the handler queues runs on the next turn.
TEST_F(Photos, ExportCompletesOffTheMainThreadAndHandsOffOnALaterTurn) {
    Ref<AVAssetExportSession> session;
    PHImageManager::defaultManager()->requestExportSessionForVideoOptionsExportPresetResultHandler(
        asset("IMG_0005.MOV"), nullptr, AVAssetExportPresetHighestQuality,
        [&](Ref<AVAssetExportSession> s, id) { session = std::move(s); });
    platform::RunLoop::main().drain();
    ASSERT_TRUE(session);
    EXPECT_EQ(session->presetName(), AVAssetExportPresetHighestQuality);
    session->setOutputURL(NSURL::fileURLWithPath("/var/mobile/Exports/out.mp4"));
    session->setOutputFileType(AVFileTypeMPEG4);
    std::thread::id handlerThread;
    bool handedOff = false;
    session->exportAsynchronouslyWithCompletionHandler([&] {
        handlerThread = std::this_thread::get_id();
        platform::dispatchMain([&] { handedOff = true; });
    });
    platform::RunLoop::main().drain();
    EXPECT_TRUE(handedOff);
    EXPECT_NE(handlerThread, std::this_thread::get_id());
    EXPECT_EQ(session->status(), AVAssetExportSessionStatusCompleted);
    EXPECT_EQ(containerOfFile(host("/var/mobile/Exports/out.mp4")), MovieContainer::MPEG4);

    auto generator = AVAssetImageGenerator::assetImageGeneratorWithAsset(
        AVURLAsset::URLAssetWithURLOptions(NSURL::fileURLWithPath("/var/mobile/Exports/out.mp4"), nullptr));
    CMTime actual;
    CGImageRef frame = generator->copyCGImageAtTimeActualTimeError(CMTimeMake(0, 1), &actual, nullptr);
    ASSERT_TRUE(frame);
    EXPECT_EQ(CGImageGetWidth(frame), 160u);
    EXPECT_EQ(actual.seconds(), 0);
    CGImageRelease(frame);
}

// Outputs the device does not let a process write, and types it does not know, fail before anything is written.
TEST_F(Photos, ExportRefusesOutputsOutsideTheWritableFolders) {
    struct Case {
        const char* url;
        std::string_view type;
        const char* hostFile;  // must not exist afterwards
    };
    const std::vector<Case> cases{
        {"file:///Library/Vantile/out.mov", AVFileTypeQuickTimeMovie, "Library/Vantile/out.mov"},
        {"file:///var/mobile/../../Library/out.mov", AVFileTypeQuickTimeMovie, "Library/out.mov"},
        {"https://example.com/out.mov", AVFileTypeQuickTimeMovie, "out.mov"},
        {"file:///var/mobile/out.avi", "public.avi", "var/mobile/out.avi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        auto session = AVAssetExportSession::exportSessionWithAssetPresetName(
            AVURLAsset::assetWithDevicePath(std::string(kPhotoLibraryFolder) + "/IMG_0005.MOV"),
            AVAssetExportPresetHighestQuality);
        session->setOutputURL(NSURL::URLWithString(c.url));
        session->setOutputFileType(c.type);
        bool done = false;
        session->exportAsynchronouslyWithCompletionHandler([&] { done = true; });
        platform::RunLoop::main().drain();
        EXPECT_TRUE(done);
        EXPECT_EQ(session->status(), AVAssetExportSessionStatusFailed);
        EXPECT_FALSE(session->error().empty());
        EXPECT_FALSE(fs::exists(m_root.path() / c.hostFile));
    }
}

TEST_F(Photos, ExportFailsWhenTheDiskFills) {
    setMediaFreeSpace(3000);
    auto session = AVAssetExportSession::exportSessionWithAssetPresetName(
        AVURLAsset::assetWithDevicePath(std::string(kPhotoLibraryFolder) + "/IMG_0005.MOV"),
        AVAssetExportPresetPassthrough);
    session->setOutputURL(NSURL::fileURLWithPath("/var/mobile/out.mov"));
    session->setOutputFileType(AVFileTypeQuickTimeMovie);
    session->exportAsynchronouslyWithCompletionHandler({});
    platform::RunLoop::main().drain();
    EXPECT_EQ(session->status(), AVAssetExportSessionStatusFailed);
    EXPECT_EQ(session->error(), "no space left on the device");
    EXPECT_LE(session->bytesWritten(), 3000u);
}

TEST_F(Photos, FramesOfMissingOrBrokenMovies) {
    std::ofstream(host("/var/mobile/broken.mov")) << std::string(3000, 'z');
    for (const char* path : {"/var/mobile/broken.mov", "/var/mobile/none.mov"}) {
        auto generator = AVAssetImageGenerator::assetImageGeneratorWithAsset(
            AVURLAsset::URLAssetWithURLOptions(NSURL::fileURLWithPath(path), nullptr));
        std::string error;
        EXPECT_FALSE(generator->copyCGImageAtTimeActualTimeError(kCMTimeZero, nullptr, &error));
        EXPECT_FALSE(error.empty());
    }
    auto generator = AVAssetImageGenerator::assetImageGeneratorWithAsset(nullptr);
    EXPECT_FALSE(generator->copyCGImageAtTimeActualTimeError(CMTimeMake(0, 0), nullptr, nullptr));
}

}  // namespace
