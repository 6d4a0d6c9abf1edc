// The preference store facing files it did not write: links planted in the device root, pipes, huge and deeply
// nested files, values the parser cannot keep, and text the file cannot hold.
#include "platform/core/PreferenceDomain.h"

#include "HostilePlist.h"
#include "PreferenceFixture.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/HBPreferences.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::PreferenceDomain;

namespace {

class PreferenceFileSafetyTest : public PreferenceFixture {
protected:
    void SetUp() override {
        PreferenceFixture::SetUp();
        m_outside.emplace("outside");
        fs::create_directories(folder());
    }
    fs::path outside() const { return m_outside->path(); }
    fs::path kept(const std::string& domain) const {
        fs::path p = domainFile(domain);
        p += ".corrupt";
        return p;
    }
    std::optional<testing_support::TemporaryRoot> m_outside;
};

TEST_F(PreferenceFileSafetyTest, ResolvingFollowsLinksAndRefusesWhatLeavesTheRoot) {
    fs::create_directories(m_root / "private/var");
    fs::create_directory_symlink("private/var", m_root / "var2");
    fs::create_symlink("/etc/passwd", m_root / "absolute");
    fs::create_symlink("../../..", m_root / "climb");
    fs::create_symlink(outside() / "missing", m_root / "dangling");
    fs::create_symlink("loop2", m_root / "loop1");
    fs::create_symlink("loop1", m_root / "loop2");
    fs::create_symlink(m_root / "private", m_root / "absoluteInside");
    const auto canonicalRoot = fs::canonical(m_root);
    const struct {
        const char* path;
        std::optional<fs::path> expected;
    } cases[] = {
        {"var/mobile/x.plist", canonicalRoot / "var/mobile/x.plist"},
        {"var2/mobile/x.plist", canonicalRoot / "private/var/mobile/x.plist"},
        // ".." leaves the folder the link led to, as the kernel reads it, not the link's own folder.
        {"var2/../var2/x", canonicalRoot / "private/var2/x"},
        {"absoluteInside/var", canonicalRoot / "private/var"},
        {"absolute", std::nullopt},
        {"climb", std::nullopt},
        {"climb/etc", std::nullopt},
        {"dangling", std::nullopt},
        {"loop1", std::nullopt},
        {"var2/../../..", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::resolveInsideDeviceRoot(m_root / c.path), c.expected) << c.path;
    EXPECT_EQ(platform::resolveBelow(m_root, "var2"), canonicalRoot / "private/var");
}

TEST_F(PreferenceFileSafetyTest, LinksOutOfTheRootAreNeverWrittenThroughNorRead) {
    const std::string secret = "host file, not ours";
    const fs::path hostFile = outside() / "host.txt";
    spit(hostFile, secret);
    const auto hostPlist = outside() / "host.plist";
    ASSERT_TRUE(platform::writePropertyListFile(hostPlist, Value(Value::Dictionary{{"toggleVantile", true}})));
    const std::string hostPlistBytes = slurp(hostPlist);

    // The lock file: its first bytes would take the write counter. The write is refused.
    fs::path lock = domainFile("com.test.lock");
    lock += ".lock";
    fs::create_symlink(hostFile, lock);
    EXPECT_FALSE(PreferenceDomain::named("com.test.lock")->write({{"k", 1}}));
    EXPECT_EQ(slurp(hostFile), secret);
    EXPECT_FALSE(fs::exists(domainFile("com.test.lock")));

    // The backing file: read as damaged, and on the first write the link itself is kept aside.
    fs::create_symlink(hostPlist, domainFile("com.test.plist"));
    auto domain = PreferenceDomain::named("com.test.plist");
    EXPECT_TRUE(domain->snapshot()->empty());
    EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Unreadable);
    EXPECT_FALSE(platform::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.test.plist.plist"));
    ASSERT_TRUE(domain->write({{"k", 1}}));
    EXPECT_TRUE(fs::is_symlink(kept("com.test.plist")));
    EXPECT_FALSE(fs::is_symlink(domainFile("com.test.plist")));
    EXPECT_EQ(onDisk("com.test.plist"), (Value::Dictionary{{"k", 1}}));
    EXPECT_EQ(slurp(hostPlist), hostPlistBytes);

    // A plain file of the device reached through a link.
    fs::create_directory_symlink(outside(), m_root / "var/mobile/Documents");
    EXPECT_FALSE(platform::dictionaryWithContentsOfFile("/var/mobile/Documents/host.plist"));
    EXPECT_FALSE(platform::writeDictionaryToFile("/var/mobile/Documents/new.plist", {{"a", 1}}));
    EXPECT_FALSE(fs::exists(outside() / "new.plist"));

    EXPECT_GE(platform::preferenceCounters().refusedFiles, 2u);
    EXPECT_EQ(platform::preferenceCounters().failedWrites, 1u);
}

TEST_F(PreferenceFileSafetyTest, APreferencesFolderLinkedOutOfTheRootIsNeitherReadNorWritten) {
    ASSERT_TRUE(platform::writePropertyListFile(outside() / (std::string(kDomain) + ".plist"),
                                                Value(Value::Dictionary{{"toggleVantile", true}})));
    fs::remove_all(folder());
    fs::create_directory_symlink(outside(), folder());
    auto domain = PreferenceDomain::named(kDomain);
    EXPECT_TRUE(domain->snapshot()->empty());
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    prefs->setBoolForKey(false, "toggleHaptics");
    EXPECT_TRUE(prefs->objectForKey("toggleHaptics").isNone());
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(outside())) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{std::string(kDomain) + ".plist"}));
    EXPECT_EQ(platform::preferenceCounters().failedWrites, 1u);
}

TEST_F(PreferenceFileSafetyTest, AFolderLinkedInsideTheRootIsFollowed) {
    fs::remove_all(folder());
    fs::create_directories(m_root / "private/Preferences");
    fs::create_directory_symlink("../../../private/Preferences", folder());
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    prefs->setBoolForKey(true, "toggleVantile");
    EXPECT_EQ(prefs->objectForKey("toggleVantile"), Value(true));
    EXPECT_TRUE(fs::is_regular_file(m_root / "private/Preferences" / (std::string(kDomain) + ".plist")));
    EXPECT_EQ(platform::preferenceCounters().failedWrites, 0u);
}

TEST_F(PreferenceFileSafetyTest, PipesAndOversizedFilesAreRefusedUnread) {
    // Opened for reading, a pipe without a writer would block the reader for ever.
    ASSERT_EQ(::mkfifo(domainFile("com.test.pipe").c_str(), 0644), 0);
    auto pipe = PreferenceDomain::named("com.test.pipe");
    EXPECT_TRUE(pipe->snapshot()->empty());
    EXPECT_EQ(pipe->fileState(), PreferenceDomain::FileState::Unreadable);
    ASSERT_TRUE(pipe->write({{"k", 1}}));
    EXPECT_TRUE(fs::is_fifo(kept("com.test.pipe")));
    EXPECT_EQ(onDisk("com.test.pipe"), (Value::Dictionary{{"k", 1}}));

    fs::path lock = domainFile("com.test.pipelock");
    lock += ".lock";
    ASSERT_EQ(::mkfifo(lock.c_str(), 0644), 0);
    EXPECT_FALSE(PreferenceDomain::named("com.test.pipelock")->write({{"k", 1}}));

    // A sparse file one byte above the cap costs no disk space.
    const fs::path huge = domainFile("com.test.huge");
    spit(huge, "bplist00");
    fs::resize_file(huge, platform::kMaximumPlistFileSize + 1);
    auto big = PreferenceDomain::named("com.test.huge");
    EXPECT_TRUE(big->snapshot()->empty());
    EXPECT_EQ(big->fileState(), PreferenceDomain::FileState::Unreadable);

    EXPECT_GE(platform::preferenceCounters().refusedFiles, 3u);
    EXPECT_EQ(platform::preferenceCounters().failedWrites, 1u);
}

TEST_F(PreferenceFileSafetyTest, DeeplyNestedFilesAreKeptAsideInsteadOfCrashing) {
    const struct {
        const char* domain;
        std::string bytes;
    } cases[] = {
        {"com.test.deepbinary", hostile::nestedBinary(100000)},
        {"com.test.deepxml", hostile::nestedXml(200000, false)},
    };
    for (const auto& c : cases) {
        spit(domainFile(c.domain), c.bytes);
        auto domain = PreferenceDomain::named(c.domain);
        EXPECT_TRUE(domain->snapshot()->empty()) << c.domain;
        EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Unreadable) << c.domain;
        ASSERT_TRUE(domain->write({{"toggleVantile", true}})) << c.domain;
        EXPECT_EQ(slurp(kept(c.domain)), c.bytes) << c.domain;
    }
}

TEST_F(PreferenceFileSafetyTest, AnUnrelatedWriteNeverChangesAnotherValue) {
    const char* hostileValues[] = {
        "<key>birthday</key><date>1900-01-01T00:00:00Z</date>",
        "<key>expiry</key><date>2100-01-01T00:00:00Z</date>",
        "<key>huge</key><integer>18446744073709551615</integer>",
        "<key>picture</key><data>not base64!</data>",
        "<key>profileNameString</key><string>Ana</string><key>profileNameString</key><string>Bo</string>",
    };
    for (const char* body : hostileValues) {
        SCOPED_TRACE(body);
        const std::string original = hostile::xmlDictionary(std::string("<key>toggleVantile</key><true/>") + body);
        spit(domainFile(), original);
        fs::remove(kept(kDomain));
        platform::checkPreferenceChanges();
        ASSERT_TRUE(PreferenceDomain::named(kDomain)->write({{"toggleHaptics", true}}));
        // Nothing could be kept exactly, so the whole file went aside untouched for the user to recover.
        EXPECT_EQ(slurp(kept(kDomain)), original);
        EXPECT_EQ(onDisk(), (Value::Dictionary{{"toggleHaptics", true}}));
    }
}

TEST_F(PreferenceFileSafetyTest, TextTheFileCannotHoldIsRefusedAndTheFileKept) {
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    prefs->setBoolForKey(true, "toggleVantile");
    prefs->setObjectForKey(Value("Ana"), "profileNameString");
    const std::string before = slurp(domainFile());
    const std::string bad[] = {"\x80", "\xC0\x80", "Zo\xC3", std::string("Ana\0Bo", 6)};
    for (const auto& text : bad) {
        prefs->setObjectForKey(Value(text), "profileNameString");
        // The writing process sees what the file holds, never a value of its own that no other reader gets.
        EXPECT_EQ(prefs->objectForKey("profileNameString"), Value("Ana"));
        EXPECT_EQ(slurp(domainFile()), before);
    }
    EXPECT_EQ(platform::preferenceCounters().failedWrites, std::size(bad));
    // What the next process reads: every key as it was.
    EXPECT_EQ(onDisk(), (Value::Dictionary{{"toggleVantile", true}, {"profileNameString", "Ana"}}));
}

}  // namespace
