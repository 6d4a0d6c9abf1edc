#include "platform/core/DeviceRoot.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/SystemSymbols.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIScreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class UIImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / ("vantile-image-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        platform::setDeviceRoot(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    void writeFile(const std::string& devicePath, const std::vector<std::uint8_t>& bytes) {
        auto host = *platform::devicePath(devicePath);
        fs::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    // Left half red, right half blue.
    static Bitmap twoColour(int w, int h) {
        Bitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.at(x, y) = x < w / 2 ? packPixel({255, 0, 0, 255}) : packPixel({0, 0, 255, 255});
        return b;
    }

    fs::path m_root;
};

TEST_F(UIImageTest, FilesDecodeWithTheirScaleAndRememberTheirPath) {
    writeFile("/Library/Assets/wi-fi.png", *platform::gfx::encodePNG(twoColour(6, 4)));
    writeFile("/Library/Assets/icon@2x.png", *platform::gfx::encodePNG(twoColour(6, 4)));
    writeFile("/Library/Assets/photo.jpg", *platform::gfx::encodeJPEG(twoColour(8, 8), 0.9));
    struct Case {
        std::string path;
        CGSize size;
        CGFloat scale;
    };
    for (const Case& c : {Case{"/Library/Assets/wi-fi.png", {6, 4}, 1}, Case{"/Library/Assets/icon@2x.png", {3, 2}, 2},
                          Case{"/Library/Assets/photo.jpg", {8, 8}, 1}}) {
        auto image = UIImage::imageWithContentsOfFile(c.path);
        ASSERT_TRUE(image) << c.path;
        EXPECT_EQ(image->size(), c.size) << c.path;
        EXPECT_EQ(image->scale(), c.scale) << c.path;
        EXPECT_EQ(image->source(), c.path);
        EXPECT_FALSE(image->isTemplate());
    }
}

TEST_F(UIImageTest, APlainNameReadsTheVariantForTheScreensScale) {
    writeFile("/Library/Assets/card.png", *platform::gfx::encodePNG(twoColour(6, 4)));
    writeFile("/Library/Assets/card@3x.png", *platform::gfx::encodePNG(twoColour(18, 12)));
    struct Case {
        const char* profile;
        std::string path;
        int pixelWidth;
        CGFloat scale;
    };
    for (const Case& c : {Case{"iphone-x", "/Library/Assets/card.png", 18, 3},
                          Case{"iphone-x", "/Library/Assets/card@3x.png", 18, 3},
                          // No @2x variant: the plain file, at its own scale.
                          Case{"iphone-8", "/Library/Assets/card.png", 6, 1}}) {
        ASSERT_TRUE(UIScreen::setDeviceProfile(c.profile));
        auto image = UIImage::imageWithContentsOfFile(c.path);
        ASSERT_TRUE(image) << c.profile << " " << c.path;
        EXPECT_EQ(image->bitmap().width, c.pixelWidth) << c.profile << " " << c.path;
        EXPECT_EQ(image->scale(), c.scale) << c.profile << " " << c.path;
        EXPECT_EQ(image->size(), (CGSize{6, 4})) << c.profile << " " << c.path;
        EXPECT_EQ(image->source(), c.path);
    }
    UIScreen::resetDeviceProfile();
}

TEST_F(UIImageTest, MissingFilesAndForeignDataGiveNothingAndAreCounted) {
    writeFile("/Library/Assets/notes.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    const auto missingBefore = UIImage::missingFileCount();
    const auto undecodableBefore = UIImage::undecodableCount();
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Assets/absent.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Assets"));  // a folder
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("relative.png"));
    EXPECT_EQ(UIImage::missingFileCount(), missingBefore + 3);
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Assets/notes.png"));
    EXPECT_FALSE(UIImage::imageWithData({}));
    EXPECT_FALSE(UIImage::imageWithData({1, 2, 3, 4}));
    EXPECT_EQ(UIImage::undecodableCount(), undecodableBefore + 3);
    EXPECT_FALSE(UIImagePNGRepresentation(nullptr));
    EXPECT_FALSE(UIImageJPEGRepresentation(nullptr, 0.5));
}

TEST_F(UIImageTest, RepresentationsRoundTripThroughData) {
    auto image = UIImage::imageWithBitmap(twoColour(10, 6));
    auto png = UIImagePNGRepresentation(image);
    ASSERT_TRUE(png);
    auto back = UIImage::imageWithData(*png);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bitmap(), image->bitmap());
    EXPECT_EQ(back->source(), "data");
    // The stored form of a picture at quality 0.5 is the stand-in's own encoding at 0.5.
    auto jpeg = UIImageJPEGRepresentation(image, 0.5);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(*jpeg, *platform::gfx::encodeJPEG(image->bitmap(), 0.5));
    EXPECT_EQ(UIImage::imageWithData(*jpeg)->size(), (CGSize{10, 6}));
}

TEST_F(UIImageTest, ImageWithSizeScalesToFillWithoutKeepingAspect) {
    auto image = UIImage::imageWithBitmap(twoColour(2, 1), 1, "/a.png")->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
    auto resized = image->imageWithSize({8, 4});
    ASSERT_TRUE(resized);
    EXPECT_EQ(resized->size(), (CGSize{8, 4}));
    EXPECT_EQ(resized->source(), "/a.png");
    EXPECT_EQ(resized->renderingMode(), UIImageRenderingMode::AlwaysOriginal);
    const Bitmap& b = resized->bitmap();
    // The far columns keep their colours; every row is filled (the aspect ratio was not kept).
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(unpackPixel(b.at(0, y)), (PixelRGBA{255, 0, 0, 255})) << y;
        EXPECT_EQ(unpackPixel(b.at(7, y)), (PixelRGBA{0, 0, 255, 255})) << y;
    }
    EXPECT_FALSE(image->imageWithSize({0, 4}));
    auto atScale = UIImage::imageWithBitmap(twoColour(6, 6), 3)->imageWithSize({20, 20});
    EXPECT_EQ(atScale->bitmap().width, 60);
    EXPECT_EQ(atScale->size(), (CGSize{20, 20}));
}

TEST_F(UIImageTest, RenderingModeDecidesTinting) {
    auto file = UIImage::imageWithBitmap(twoColour(2, 2));
    EXPECT_FALSE(file->isTemplate());
    EXPECT_TRUE(file->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate)->isTemplate());
    auto gear = UIImage::systemImageNamed("gear");
    ASSERT_TRUE(gear);
    EXPECT_TRUE(gear->isTemplate());
    EXPECT_FALSE(gear->imageWithRenderingMode(UIImageRenderingMode::AlwaysOriginal)->isTemplate());
    EXPECT_EQ(gear->source(), "symbol:gear");
}

TEST_F(UIImageTest, CoreGraphicsImagesConvertBothWays) {
    Bitmap b = twoColour(4, 2);
    b.at(0, 0) = packPixel({64, 32, 0, 128});  // a translucent premultiplied pixel survives unchanged
    CGImageRef cg = platform::gfx::createImageFromARGB32(4, 2, b.pixels.data(), 16);
    ASSERT_TRUE(cg);
    auto image = UIImage::imageWithCGImage(cg, 2);
    CGImageRelease(cg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bitmap(), b);
    EXPECT_EQ(image->size(), (CGSize{2, 1}));
    EXPECT_EQ(image->source(), "cgimage");
    CGImageRef back = image->CGImage();
    ASSERT_TRUE(back);
    EXPECT_EQ(image->CGImage(), back) << "made once and kept by the image";
    EXPECT_EQ(CGImageGetWidth(back), 4u);
    EXPECT_EQ(platform::gfx::imageARGB32Data(back)[0], b.pixels[0]);
    EXPECT_FALSE(UIImage::imageWithCGImage(nullptr));
}

TEST(SystemSymbols, EveryNameInTheTableResolvesToADrawnGlyph) {
    ASSERT_TRUE(fs::exists(platform::gfx::iconStylesheetPath()))
        << "install fonts-materialdesignicons-webfont: " << platform::gfx::iconStylesheetPath();
    for (const auto& entry : platform::gfx::symbolTable()) {
        auto image = UIImage::systemImageNamed(entry.symbolName);
        ASSERT_TRUE(image) << entry.symbolName << " (" << entry.iconName << ")";
        EXPECT_EQ(image->size(), (CGSize{24, 24}));
        int inked = 0, clear = 0;
        for (auto p : image->bitmap().pixels) (p >> 24) > 128 ? ++inked : ++clear;
        EXPECT_GT(inked, 100) << entry.symbolName;
        EXPECT_GT(clear, 100) << entry.symbolName;
    }
    EXPECT_FALSE(UIImage::systemImageNamed("no.such.symbol"));
    EXPECT_FALSE(platform::gfx::iconCodepoint("no-such-icon"));
}

TEST(SystemSymbols, DiscSymbolsCutTheGlyphOutOfAFilledCircle) {
    auto filled = UIImage::systemImageNamed("magnifyingglass.circle.fill");
    auto plain = UIImage::systemImageNamed("magnifyingglass");
    ASSERT_TRUE(filled && plain);
    const Bitmap& f = filled->bitmap();
    const Bitmap& p = plain->bitmap();
    // The corners stay outside the disc; a point inside the disc but off the glyph is filled.
    EXPECT_EQ(f.at(0, 0) >> 24, 0u);
    int filledOnly = 0;
    for (std::size_t i = 0; i < f.pixels.size(); ++i) filledOnly += (f.pixels[i] >> 24) > 200 && (p.pixels[i] >> 24) < 50;
    EXPECT_GT(filledOnly, static_cast<int>(f.pixels.size() / 5));
}

}  // namespace
