#include "platform/core/DeviceRoot.h"
#include "platform/core/NSFileManager.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_temporary.emplace("fm");
        root = m_temporary->path();
        platform::setDeviceRoot(root);
        fm->resetFailureCount();
    }
    void TearDown() override { m_temporary.reset(); }
    void touch(const fs::path& devicePath) {
        auto p = root / devicePath.relative_path();
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
    }
    std::optional<testing_support::TemporaryRoot> m_temporary;
    fs::path root;
    Ref<NSFileManager> fm = NSFileManager::defaultManager();
};

TEST_F(FileManagerTest, ListsEveryEntryOneLevelDeep) {
    touch("/Library/PreferenceBundles/VantilePrefs.bundle/Info.plist");
    touch("/Library/PreferenceBundles/Other.bundle/Info.plist");
    touch("/Library/PreferenceBundles/.hidden");
    touch("/Library/PreferenceBundles/loose.plist");
    auto names = fm->contentsOfDirectoryAtPath("/Library/PreferenceBundles/");
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{".hidden", "Other.bundle", "VantilePrefs.bundle", "loose.plist"}));
    fs::create_directories(root / "Applications");
    auto empty = fm->contentsOfDirectoryAtPath("/Applications");
    ASSERT_TRUE(empty) << "an empty folder is a list, not nothing";
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(fm->failureCount(), 0u);
}

TEST_F(FileManagerTest, UnlistableFoldersGiveNothingAndAreCounted) {
    touch("/Applications/file");
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("/Missing"));
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("/Applications/file")) << "a file is no folder";
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("relative"));
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("/../outside"));
    EXPECT_EQ(fm->failureCount(), 4u);
}

TEST_F(FileManagerTest, UnreadableFolderGivesNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    fs::create_directories(root / "Locked");
    fs::permissions(root / "Locked", fs::perms::none);
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("/Locked"));
    fs::permissions(root / "Locked", fs::perms::owner_all);
}

TEST_F(FileManagerTest, ExistenceRemovalAndCreation) {
    touch("/var/mobile/video.MOV");
    EXPECT_TRUE(fm->fileExistsAtPath("/var/mobile/video.MOV"));
    EXPECT_TRUE(fm->removeItemAtPath("/var/mobile/video.MOV"));
    EXPECT_FALSE(fm->fileExistsAtPath("/var/mobile/video.MOV"));
    EXPECT_FALSE(fm->removeItemAtPath("/var/mobile/video.MOV")) << "nothing left to remove";
    EXPECT_FALSE(fm->removeItemAtPath("/")) << "the device root itself stays";
    EXPECT_TRUE(fs::exists(root));

    EXPECT_TRUE(fm->createDirectoryAtPath("/a/b/c"));
    EXPECT_TRUE(fm->isDirectoryAtPath("/a/b"));
    EXPECT_TRUE(fm->createDirectoryAtPath("/a/b/c")) << "existing folder with intermediates: fine";
    EXPECT_FALSE(fm->createDirectoryAtPath("/a/b/c", false));
    EXPECT_FALSE(fm->createDirectoryAtPath("/x/y", false)) << "missing parent without intermediates";
    touch("/a/b/c/f");
    EXPECT_TRUE(fm->removeItemAtPath("/a")) << "a folder goes with its contents";
    EXPECT_FALSE(fm->fileExistsAtPath("/a/b/c/f"));
    EXPECT_EQ(fm->failureCount(), 4u);
}

TEST_F(FileManagerTest, ContentsOfAFile) {
    touch("/f");
    auto bytes = fm->contentsAtPath("/f");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, std::vector<std::uint8_t>{'x'});
    EXPECT_FALSE(fm->contentsAtPath("/none"));
}

TEST_F(FileManagerTest, LinksOutOfTheRootAreNeitherReadNorChanged) {
    testing_support::TemporaryRoot outside("fm-outside");
    std::ofstream(outside.path() / "secret") << "host";
    fs::create_directories(outside.path() / "folder");
    std::ofstream(outside.path() / "folder/kept") << "host";
    fs::create_directories(root / "var/mobile");
    fs::create_directory_symlink(outside.path(), root / "var/mobile/Media");
    fs::create_symlink(outside.path() / "secret", root / "var/mobile/secret");

    EXPECT_FALSE(fm->contentsAtPath("/var/mobile/secret"));
    EXPECT_FALSE(fm->contentsAtPath("/var/mobile/Media/secret"));
    EXPECT_FALSE(fm->contentsOfDirectoryAtPath("/var/mobile/Media"));
    EXPECT_FALSE(fm->createDirectoryAtPath("/var/mobile/Media/new"));
    EXPECT_FALSE(fm->removeItemAtPath("/var/mobile/Media/folder"));
    EXPECT_FALSE(fm->removeItemAtPath("/var/mobile/Media/secret"));
    EXPECT_EQ(fm->failureCount(), 6u);
    EXPECT_FALSE(fs::exists(outside.path() / "new"));
    EXPECT_TRUE(fs::exists(outside.path() / "folder/kept"));
    EXPECT_TRUE(fs::exists(outside.path() / "secret"));

    // The links themselves are the device's files: removing one removes the link, never what it points at.
    EXPECT_TRUE(fm->removeItemAtPath("/var/mobile/secret"));
    EXPECT_TRUE(fm->removeItemAtPath("/var/mobile/Media"));
    EXPECT_TRUE(fs::exists(outside.path() / "secret"));
    EXPECT_TRUE(fs::exists(outside.path() / "folder/kept"));

    // A pipe is no file to read: opening it would wait for a writer.
    ASSERT_EQ(::mkfifo((root / "var/mobile/pipe").c_str(), 0644), 0);
    EXPECT_FALSE(fm->contentsAtPath("/var/mobile/pipe"));
}

}  // namespace
