// Installing the add-on's package into a device root as the phone's package manager would.
#include "sim/install/PackageInstaller.h"
#include "tests/sim/SimProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/ProgramRun.h"

#include "platform/core/PropertyList.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace fs = std::filesystem;
using namespace sim::install;
using testing_support::readFile;
using testing_support::runProgram;
using testing_support::snapshotTree;
using testing_support::writeFile;

namespace {

using Files = std::map<std::string, std::string>;  // device path -> contents

class InstallTest : public ::testing::Test {
protected:
    // A package built with dpkg-deb from `files`, in the test's own folder.
    // `links` maps device paths to the targets of symbolic links, stored as they are.
    fs::path makePackage(const std::string& name, const std::string& version, const Files& files,
                         const Files& links = {}) {
        const fs::path stage = m_work.path() / ("stage-" + name + "-" + version);
        fs::remove_all(stage);
        for (const auto& [path, contents] : files) writeFile(stage / fs::path(path).relative_path(), contents);
        for (const auto& [path, target] : links) {
            fs::create_directories((stage / fs::path(path).relative_path()).parent_path());
            fs::create_symlink(target, stage / fs::path(path).relative_path());
        }
        writeFile(stage / "DEBIAN/control", "Package: " + name + "\nVersion: " + version +
                                                 "\nArchitecture: iphoneos-arm\nMaintainer: Test <t@example.com>\n"
                                                 "Description: test package\n");
        const fs::path deb = m_work.path() / (name + "_" + version + ".deb");
        const auto built = runProgram({"dpkg-deb", "--root-owner-group", "--build", stage.string(), deb.string()});
        EXPECT_TRUE(built.succeeded()) << built.err;
        return deb;
    }
    // The same package assembled from its three members with tar and ar, as a hostile packager could, for names
    // and control files that dpkg-deb --build itself refuses to pack. `control` replaces the usual control file.
    fs::path makeRawPackage(const std::string& name, const std::string& version, const Files& files,
                            const std::optional<std::string>& control = std::nullopt) {
        const fs::path work = m_work.path() / ("raw-" + name + "-" + version);
        fs::remove_all(work);
        for (const auto& [path, contents] : files) writeFile(work / "data" / fs::path(path).relative_path(), contents);
        writeFile(work / "control/control",
                  control.value_or("Package: " + name + "\nVersion: " + version +
                                   "\nArchitecture: iphoneos-arm\nMaintainer: Test <t@example.com>\n"
                                   "Description: test package\n"));
        writeFile(work / "debian-binary", "2.0\n");
        const fs::path deb = m_work.path() / (name + "_" + version + "_raw.deb");
        for (const auto& step : std::vector<std::vector<std::string>>{
                 {"tar", "-C", (work / "control").string(), "-czf", (work / "control.tar.gz").string(), "./control"},
                 {"tar", "-C", (work / "data").string(), "-czf", (work / "data.tar.gz").string(), "."},
                 {"ar", "rc", deb.string(), (work / "debian-binary").string(), (work / "control.tar.gz").string(),
                  (work / "data.tar.gz").string()}}) {
            const auto done = runProgram(step);
            EXPECT_TRUE(done.succeeded()) << step.front() << ": " << done.err;
        }
        return deb;
    }
    fs::path root() const { return m_work.path() / "device"; }

    simtest::TempDeviceRoot m_work;
};

const Files kVersion1 = {
    {"/Library/MobileSubstrate/DynamicLibraries/Demo.dylib", "library 1"},
    {"/Library/Application Support/Demo.bundle/Assets/old.png", "old icon"},
    {"/Library/Application Support/Demo.bundle/Assets/kept.png", "kept icon 1"},
    {"/Library/Dropped/only-in-1.txt", "gone later"},
};
const Files kVersion2 = {
    {"/Library/MobileSubstrate/DynamicLibraries/Demo.dylib", "library 2"},
    {"/Library/Application Support/Demo.bundle/Assets/kept.png", "kept icon 2"},
    {"/Library/Application Support/Demo.bundle/Assets/new.png", "new icon"},
};

TEST_F(InstallTest, IntoAnEmptyRootUnpacksEveryFileAndRecordsThem) {
    const auto result = installPackage(makePackage("com.test.demo", "1.0", kVersion1), root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(result.package, "com.test.demo");
    EXPECT_EQ(result.version, "1.0");
    std::vector<std::string> expected;
    for (const auto& [path, contents] : kVersion1) {
        expected.push_back(path);
        EXPECT_EQ(readFile(root() / fs::path(path).relative_path()), contents) << path;
    }
    EXPECT_EQ(result.installed, expected);
    EXPECT_EQ(installedFiles(root(), "com.test.demo"), expected);
    EXPECT_EQ(installedVersion(root(), "com.test.demo"), "1.0");
    EXPECT_TRUE(result.removed.empty());
    // Nothing but the package's tree and the package manager's records: the staging folder is gone.
    for (const auto& entry : fs::directory_iterator(root()))
        EXPECT_TRUE(entry.path().filename() == "Library" || entry.path().filename() == "var") << entry.path();
}

TEST_F(InstallTest, OverAnEarlierVersionReplacesItAndRemovesWhatTheNewOneDropped) {
    writeFile(root() / "var/mobile/Library/Preferences/user.plist", "the user's own file");
    ASSERT_TRUE(installPackage(makePackage("com.test.other", "3", {{"/usr/bin/other", "x"}}), root()));
    ASSERT_TRUE(installPackage(makePackage("com.test.demo", "1.0", kVersion1), root()));

    const auto result = installPackage(makePackage("com.test.demo", "2.0", kVersion2), root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(result.removed, (std::vector<std::string>{"/Library/Application Support/Demo.bundle/Assets/old.png",
                                                         "/Library/Dropped/only-in-1.txt"}));
    for (const auto& [path, contents] : kVersion2) EXPECT_EQ(readFile(root() / fs::path(path).relative_path()), contents);
    EXPECT_FALSE(fs::exists(root() / "Library/Application Support/Demo.bundle/Assets/old.png"));
    // A folder only the old version had goes with its last file.
    EXPECT_FALSE(fs::exists(root() / "Library/Dropped"));
    EXPECT_EQ(installedVersion(root(), "com.test.demo"), "2.0");
    EXPECT_EQ(installedFiles(root(), "com.test.demo").size(), kVersion2.size());
    // What belongs to nobody, or to another package, stays.
    EXPECT_EQ(readFile(root() / "var/mobile/Library/Preferences/user.plist"), "the user's own file");
    EXPECT_EQ(installedVersion(root(), "com.test.other"), "3");
    EXPECT_TRUE(fs::exists(root() / "usr/bin/other"));
}

TEST_F(InstallTest, ABrokenOrMissingPackageLeavesTheRootAsItWas) {
    ASSERT_TRUE(installPackage(makePackage("com.test.demo", "1.0", kVersion1), root()));
    Files big = kVersion2;
    // Enough incompressible bytes that a cut lands inside the file data rather than in a header.
    std::string noise;
    for (unsigned v = 1; noise.size() < 200000; v = v * 1103515245u + 12345u) noise += static_cast<char>(v >> 16);
    big["/Library/Big.bin"] = noise;
    const fs::path good = makePackage("com.test.demo", "2.0", big);
    const std::string bytes = readFile(good);

    struct Case {
        std::string what;
        std::string contents;  // empty: no file at all
    };
    const Case cases[] = {
        {"truncated", bytes.substr(0, bytes.size() / 2)},
        {"cut in the control part", bytes.substr(0, 200)},
        {"not a package", "just some text, no archive"},
        {"missing", ""},
    };
    const Files before = snapshotTree(root());
    for (const auto& c : cases) {
        const fs::path deb = m_work.path() / ("broken-" + std::to_string(&c - cases) + ".deb");
        if (!c.contents.empty()) writeFile(deb, c.contents);
        const auto result = installPackage(deb, root());
        EXPECT_FALSE(result) << c.what;
        EXPECT_TRUE(result.error && result.error->find(deb.string()) != std::string::npos)
            << c.what << ": the message names the package: " << result.error.value_or("(none)");
        EXPECT_TRUE(result.installed.empty()) << c.what;
        EXPECT_EQ(snapshotTree(root()), before) << c.what;
        EXPECT_EQ(installedVersion(root(), "com.test.demo"), "1.0") << c.what;
    }
}

TEST_F(InstallTest, RefusedPackagesNeverHalfInstall) {
    // A file of the package where the root has a folder, and a folder of the package where the root has a file.
    writeFile(root() / "Library/Application Support/Demo.bundle/Assets/kept.png/inside", "a folder in the way");
    const fs::path first = makePackage("com.test.demo", "1.0", kVersion1);
    const Files before = snapshotTree(root());
    const auto blocked = installPackage(first, root());
    EXPECT_FALSE(blocked);
    EXPECT_EQ(snapshotTree(root()), before);

    fs::remove_all(root());
    writeFile(root() / "Library/MobileSubstrate", "a file in the way");
    const Files before2 = snapshotTree(root());
    EXPECT_FALSE(installPackage(first, root()));
    EXPECT_EQ(snapshotTree(root()), before2);

    // A refused install into a root that did not exist leaves no root behind.
    fs::remove_all(root());
    EXPECT_FALSE(installPackage(makePackage("com.test.empty", "1", {}), root()));
    EXPECT_FALSE(fs::exists(root()));
}

TEST_F(InstallTest, TheBuildsPackageHasThePhonesLayout) {
    const auto deb = defaultPackage();
    ASSERT_TRUE(deb) << "the build made no Vantile.deb";
    const auto result = installPackage(*deb, root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(result.package, kPackageName);
    for (const char* path : {"/Library/MobileSubstrate/DynamicLibraries/Vantile.dylib",
                             "/Library/MobileSubstrate/DynamicLibraries/Vantile.plist",
                             "/Library/Application Support/Vantile.bundle/Localizations/en.lproj/Localizable.strings",
                             "/Library/Application Support/Vantile.bundle/Assets/touch-id.png",
                             "/Library/Application Support/Vantile.bundle/Assets/face-id.png",
                             "/Library/Application Support/Vantile.bundle/Assets/done.png",
                             "/Library/Application Support/Vantile.bundle/Assets/vantile-setting.png",
                             "/Library/Application Support/Vantile.bundle/Assets/tweaks-icon.png",
                             "/Library/PreferenceBundles/VantilePrefs.bundle/VantilePrefs",
                             "/Library/PreferenceBundles/VantilePrefs.bundle/Info.plist"})
        EXPECT_TRUE(fs::is_regular_file(root() / fs::path(path).relative_path())) << path;

    const auto info = platform::readPropertyListFile(root() / "Library/PreferenceBundles/VantilePrefs.bundle/Info.plist");
    ASSERT_TRUE(info);
    ASSERT_TRUE(info->find("NSPrincipalClass"));
    EXPECT_EQ(*info->find("NSPrincipalClass")->asString(), "VNTPrimraryController");

    const auto pane = platform::readPropertyListFile(root() / "Library/PreferenceLoader/Preferences/VantilePrefs.plist");
    ASSERT_TRUE(pane && pane->find("entry"));
    const Value& entry = *pane->find("entry");
    for (const char* key : {"bundle", "cell", "detail", "isController", "label", "icon"})
        EXPECT_TRUE(entry.find(key)) << key;
    EXPECT_EQ(*entry.find("cell")->asString(), "PSLinkCell");
    EXPECT_EQ(*entry.find("bundle")->asString(), "VantilePrefs");
    // The pane's icon is a file of its bundle.
    EXPECT_TRUE(fs::is_regular_file(root() / "Library/PreferenceBundles/VantilePrefs.bundle" /
                                    *entry.find("icon")->asString()));
}

TEST_F(InstallTest, LinksAreInstalledAsLinksAndNeverFollowed) {
    // Outside the root: what a link of the package names must survive every install and removal.
    const fs::path outside = m_work.path() / "host";
    writeFile(outside / "file", "the host's file");
    const Files files = {{"/usr/lib/libfoo.1.dylib", "library"}};
    const Files links = {
        {"/usr/lib/libfoo.dylib", "libfoo.1.dylib"},
        {"/Library/host", (outside / "file").string()},
        {"/Library/up", "../../../.."},
    };
    const auto result = installPackage(makePackage("com.test.links", "1", files, links), root());
    ASSERT_TRUE(result) << *result.error;
    for (const auto& [path, target] : links) {
        const fs::path installed = root() / fs::path(path).relative_path();
        ASSERT_TRUE(fs::is_symlink(installed)) << path;
        EXPECT_EQ(fs::read_symlink(installed), fs::path(target)) << path;
    }
    EXPECT_EQ(readFile(root() / "usr/lib/libfoo.dylib"), "library");
    EXPECT_EQ(readFile(outside / "file"), "the host's file");
    EXPECT_EQ(result.installed, (std::vector<std::string>{"/Library/host", "/Library/up", "/usr/lib/libfoo.1.dylib",
                                                           "/usr/lib/libfoo.dylib"}));
    EXPECT_EQ(installedFiles(root(), "com.test.links"), result.installed);

    // A later version without the links removes the links, never what they point at.
    const auto second = installPackage(makePackage("com.test.links", "2", files), root());
    ASSERT_TRUE(second) << *second.error;
    EXPECT_EQ(second.removed, (std::vector<std::string>{"/Library/host", "/Library/up", "/usr/lib/libfoo.dylib"}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(root() / "Library/host")));
    EXPECT_EQ(readFile(outside / "file"), "the host's file");
}

TEST_F(InstallTest, PathsThatWouldLeaveTheRootAreRefused) {
    const fs::path outside = m_work.path() / "host";
    writeFile(outside / "Demo.dylib", "the host's library");
    writeFile(outside / "keep/only-in-1.txt", "the host's text");

    // A folder of the root that is a link out of it: the package's files would land on the host.
    fs::create_directories(root() / "Library/MobileSubstrate");
    fs::create_directory_symlink(outside, root() / "Library/MobileSubstrate/DynamicLibraries");
    const Files before = snapshotTree(root());
    const auto refused = installPackage(makePackage("com.test.demo", "1.0", kVersion1), root());
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error->find("/Library/MobileSubstrate/DynamicLibraries"), std::string::npos) << *refused.error;
    EXPECT_EQ(snapshotTree(root()), before);
    EXPECT_EQ(readFile(outside / "Demo.dylib"), "the host's library");

    // A file list edited to name host files, directly or through a link: the next install removes none of them.
    fs::remove(root() / "Library/MobileSubstrate/DynamicLibraries");
    ASSERT_TRUE(installPackage(makePackage("com.test.demo", "1.0", kVersion1), root()));
    fs::create_directory_symlink(outside / "keep", root() / "Library/Gone");
    const fs::path list = root() / "var/lib/dpkg/info/com.test.demo.list";
    const fs::path climb = fs::relative(outside / "Demo.dylib", root());
    writeFile(list, readFile(list) + "/" + climb.generic_string() + "\n/Library/Gone/only-in-1.txt\n");
    const auto second = installPackage(makePackage("com.test.demo", "2.0", kVersion2), root());
    ASSERT_TRUE(second) << *second.error;
    EXPECT_EQ(readFile(outside / "Demo.dylib"), "the host's library");
    EXPECT_EQ(readFile(outside / "keep/only-in-1.txt"), "the host's text");
    for (const auto& removed : second.removed) EXPECT_EQ(removed.find(".."), std::string::npos) << removed;
}

TEST_F(InstallTest, NamesWithLineBreaksAreRefused) {
    // The file list holds one path per line; a name with a line break would record a second, unrelated path.
    for (const char* name : {"/Library/evil\n/var/mobile/Library/Preferences/user.plist", "/Library/cr\rname"}) {
        fs::remove_all(root());
        writeFile(root() / "var/mobile/Library/Preferences/user.plist", "the user's own file");
        const Files before = snapshotTree(root());
        const fs::path deb = makeRawPackage("com.test.newline", "1", {{name, "x"}, {"/Library/fine", "y"}});
        const auto result = installPackage(deb, root());
        EXPECT_FALSE(result) << name;
        EXPECT_NE(result.error.value_or("").find("line break"), std::string::npos) << result.error.value_or("");
        EXPECT_EQ(snapshotTree(root()), before);
    }
}

TEST_F(InstallTest, NamesEndingInBlanksAreRecordedAndRemovedAsSpelled) {
    // The file list is read line by line; a blank at a line's end is part of the name, or the next version would
    // take the folder "/Library/Notes " for a file and fail to remove "/Library/Read Me ".
    const Files first = {{"/Library/Notes /a.txt", "a"}, {"/Library/Read Me ", "b"}, {"/Library/kept", "c"}};
    const auto result = installPackage(makePackage("com.test.blanks", "1", first), root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(installedFiles(root(), "com.test.blanks"), result.installed);
    EXPECT_EQ(result.installed,
              (std::vector<std::string>{"/Library/Notes /a.txt", "/Library/Read Me ", "/Library/kept"}));

    const auto second = installPackage(makePackage("com.test.blanks", "2", {{"/Library/kept", "d"}}), root());
    ASSERT_TRUE(second) << *second.error;
    EXPECT_EQ(second.removed, (std::vector<std::string>{"/Library/Notes /a.txt", "/Library/Read Me "}));
    EXPECT_FALSE(fs::exists(root() / "Library/Read Me "));
    EXPECT_FALSE(fs::exists(root() / "Library/Notes "));
}

TEST_F(InstallTest, ControlFilesThatWouldSplitOrMisnameTheStatusRecordAreRefused) {
    // Another package's record must survive every refusal, and the refused package must leave no record of its own.
    ASSERT_TRUE(installPackage(makePackage("com.test.other", "3", {{"/Library/other", "x"}}), root()));
    const struct {
        const char* control;
        const char* complaint;
    } cases[] = {
        {"Package: com.test.blank\nVersion: 1\nDescription: short\n more\n \n after\n", "blank line"},
        {"Package: com.test.blank\nVersion: 1\nDescription: short\n\t\n", "blank line"},
        {"Package: com.test.twice\nVersion: 1\npackage: com.test.other\n", "duplicate"},
    };
    for (const auto& c : cases) {
        const Files before = snapshotTree(root());
        const auto result = installPackage(makeRawPackage("com.test.raw", "1", {{"/Library/raw", "y"}}, c.control),
                                           root());
        ASSERT_FALSE(result) << c.control;
        EXPECT_NE(result.error->find(c.complaint), std::string::npos) << *result.error;
        EXPECT_EQ(snapshotTree(root()), before) << c.control;
    }
    EXPECT_EQ(installedVersion(root(), "com.test.other"), "3");

    // A value's "." line, the package manager's way of writing an empty line, installs and reads back.
    const auto dotted = installPackage(makeRawPackage("com.test.dotted", "2", {{"/Library/dotted", "z"}},
                                                      "Package: com.test.dotted\nVersion: 2\nDescription: a\n .\n b\n"),
                                       root());
    ASSERT_TRUE(dotted) << *dotted.error;
    EXPECT_EQ(installedVersion(root(), "com.test.dotted"), "2");
    EXPECT_EQ(installedVersion(root(), "com.test.other"), "3");
}

TEST_F(InstallTest, StagingFoldersNeverOutliveAnInstall) {
    // What an install killed half-way left behind: its process is gone.
    const fs::path litter = root() / ".staging-com.test.demo-999999999";
    writeFile(litter / "files/Library/half.txt", "half-unpacked");
    ASSERT_TRUE(installPackage(makePackage("com.test.demo", "1.0", kVersion1), root()));
    EXPECT_FALSE(fs::exists(litter));

    // Refused installs, at every step, take their staging folder with them.
    fs::create_directories(root() / "Library/Application Support/Demo.bundle/Assets/new.png");
    EXPECT_FALSE(installPackage(makePackage("com.test.demo", "2.0", kVersion2), root()));
    writeFile(m_work.path() / "broken.deb", "!<arch>\ndebian-binary   cut");
    EXPECT_FALSE(installPackage(m_work.path() / "broken.deb", root()));
    for (const auto& entry : fs::directory_iterator(root()))
        EXPECT_NE(entry.path().filename().string().rfind(".staging-", 0), 0u) << entry.path();
}

}  // namespace
