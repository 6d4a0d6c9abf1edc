#include "platform/core/PreferenceDomain.h"

#include "PreferenceFixture.h"
#include "platform/core/CFPreferences.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSUserDefaults.h"
#include "platform/core/RunLoop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::PreferenceDomain;

namespace {

class PreferenceDomainTest : public PreferenceFixture {
protected:
    // Runs `body` in a forked child and answers its exit status; the child never returns into the test runner.
    template <class F>
    static pid_t spawn(F body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int code = 0;
            try {
                body();
            } catch (...) {
                code = 3;
            }
            ::_exit(code);
        }
        return pid;
    }
    static int waitFor(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        if (fs::exists(folder()))
            for (auto& e : fs::directory_iterator(folder())) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(PreferenceDomainTest, WritesMergeWithWhatTheFileHoldsAndEmptyDeletesIt) {
    auto domain = PreferenceDomain::named(kDomain);
    ASSERT_TRUE(domain);
    EXPECT_TRUE(domain->snapshot()->empty());
    EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Missing);
    EXPECT_FALSE(fs::exists(domainFile()));

    ASSERT_TRUE(domain->write({{"toggleVantile", true}}));
    EXPECT_EQ(slurp(domainFile()).substr(0, 8), "bplist00");

    // Someone else rewrites the file behind the cached copy; our next write must keep their key.
    ASSERT_TRUE(platform::writePropertyListFile(
        domainFile(), Value(Value::Dictionary{{"toggleVantile", true}, {"profileNameString", "Ana"}})));
    ASSERT_TRUE(domain->write({{"toggleHaptics", false}}));
    EXPECT_EQ(onDisk(), (Value::Dictionary{{"toggleVantile", true}, {"profileNameString", "Ana"},
                                           {"toggleHaptics", false}}));

    // Removing every key, one of them absent, leaves no file, as if nothing had ever been stored.
    ASSERT_TRUE(domain->write({{"toggleVantile", Value()}, {"profileNameString", Value()}, {"nothing", Value()}}));
    ASSERT_TRUE(fs::exists(domainFile()));
    ASSERT_TRUE(domain->write({{"toggleHaptics", Value()}}));
    EXPECT_FALSE(fs::exists(domainFile()));
    EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Missing);
    EXPECT_FALSE(platform::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist"));
}

TEST_F(PreferenceDomainTest, RefusedDomainNamesTouchNothing) {
    const char* names[] = {"", "com/evil", "..", "../../etc/passwd", "com..x", "/abs", "a/../b"};
    std::size_t expected = 0;
    for (const char* name : names) {
        EXPECT_FALSE(PreferenceDomain::named(name)) << name;
        ++expected;
        CFPreferencesSetAppValue("k", Value(1), name);
        ++expected;
        EXPECT_TRUE(CFPreferencesCopyAppValue("k", name).isNone()) << name;
        ++expected;
        NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value("x"), "k", name);
        ++expected;
        auto p = HBPreferences::preferencesForIdentifier(name);
        ++expected;
        bool bound = true;
        p->registerBoolDefaultForKey(&bound, false, "k");
        EXPECT_FALSE(bound) << name;
        p->setBoolForKey(true, "k");
        ++expected;
        EXPECT_TRUE(p->objectForKey("k").isNone()) << name;
    }
    EXPECT_EQ(platform::preferenceCounters().refusedDomains, expected);
    for (auto& e : fs::recursive_directory_iterator(m_root))
        EXPECT_FALSE(e.is_regular_file()) << "written: " << e.path();
}

TEST_F(PreferenceDomainTest, DamagedFilesReadEmptyAndAreKeptBesideOnFirstWrite) {
    const auto good = platform::serializePropertyList(Value(Value::Dictionary{{"toggleVantile", true}}));
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"garbage", "\x01\x02 not a plist"},
        {"empty", ""},
        {"truncated", std::string(good.begin(), good.begin() + static_cast<long>(good.size()) - 5)},
        {"array", "<plist version=\"1.0\"><array><string>x</string></array></plist>"},
        {"string", "<plist version=\"1.0\"><string>toggleVantile</string></plist>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string domainName = std::string("com.test.") + c.name;
        spit(domainFile(domainName), c.bytes);
        auto domain = PreferenceDomain::named(domainName);
        EXPECT_TRUE(domain->snapshot()->empty());
        EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Unreadable);
        EXPECT_FALSE(platform::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/" + domainName + ".plist"));
        // Reading never moves or changes the file.
        EXPECT_EQ(slurp(domainFile(domainName)), c.bytes);

        ASSERT_TRUE(domain->write({{"toggleHaptics", true}}));
        fs::path kept = domainFile(domainName);
        kept += ".corrupt";
        EXPECT_EQ(slurp(kept), c.bytes);
        EXPECT_EQ(onDisk(domainName), (Value::Dictionary{{"toggleHaptics", true}}));
        EXPECT_EQ(domain->fileState(), PreferenceDomain::FileState::Readable);
    }
    EXPECT_EQ(platform::preferenceCounters().corruptFilesKept, std::size(cases));

    // A second damage does not overwrite the first one kept.
    spit(domainFile("com.test.garbage"), "again");
    ASSERT_TRUE(PreferenceDomain::named("com.test.garbage")->write({{"k", 1}}));
    EXPECT_EQ(slurp(folder() / "com.test.garbage.plist.corrupt"), "\x01\x02 not a plist");
    EXPECT_EQ(slurp(folder() / "com.test.garbage.plist.corrupt.2"), "again");
}

TEST_F(PreferenceDomainTest, ChangeFromAnotherProcessReachesBoundVariablesAtTheNextTurn) {
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    bool haptics = false;
    long direction = -1;
    Value colour;
    prefs->registerBoolDefaultForKey(&haptics, true, "toggleHaptics");
    prefs->registerIntegerDefaultForKey(&direction, 0, "vantileFlowDirection");
    prefs->registerObjectDefaultForKey(&colour, Value("FFFFFF"), "vantileCellsChroma");
    EXPECT_TRUE(haptics);
    EXPECT_EQ(direction, 0);

    const pid_t child = spawn([] {
        CFPreferencesSetAppValue("toggleHaptics", Value(false), kDomain);
        auto own = HBPreferences::preferencesForIdentifier(kDomain);
        own->setIntegerForKey(1, "vantileFlowDirection");
        own->setObjectForKey(Value("FF0000FF"), "vantileCellsChroma");
    });
    ASSERT_EQ(waitFor(child), 0);
    ASSERT_EQ(onDisk().size(), 3u);

    // The change is picked up at the start of the next turn, so the turn's own work already sees it.
    bool seenInTurn = true;
    platform::dispatchMain([&] { seenInTurn = haptics; });
    platform::RunLoop::main().drain();
    EXPECT_FALSE(seenInTurn);
    EXPECT_FALSE(haptics);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(colour, Value("FF0000FF"));

    // A second change, forced by the host instead of a turn; nothing further changes on a quiet turn.
    ASSERT_EQ(waitFor(spawn([] { CFPreferencesSetAppValue("vantileFlowDirection", Value(0), kDomain); })), 0);
    EXPECT_EQ(platform::checkPreferenceChanges(), 1u);
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(platform::checkPreferenceChanges(), 0u);
}

TEST_F(PreferenceDomainTest, StoreWritesAreSeenAtOnceAndHandEditsFromTheNextRound) {
    auto domain = PreferenceDomain::named(kDomain);
    ASSERT_TRUE(domain->write({{"toggleVantile", true}}));
    ASSERT_EQ(domain->value("toggleVantile"), Value(true));

    // Another process writing through the store is seen by the very next read, with no turn in between.
    ASSERT_EQ(waitFor(spawn([] { CFPreferencesSetAppValue("toggleVantile", Value(false), kDomain); })), 0);
    EXPECT_EQ(domain->value("toggleVantile"), Value(false));

    // A file replaced behind the store's back is seen once a new check round has begun; until then the reads share
    // the round's check already made.
    const auto edited = platform::serializePropertyList(Value(Value::Dictionary{{"toggleVantile", 7}}));
    spit(domainFile(), std::string(edited.begin(), edited.end()));
    EXPECT_EQ(domain->value("toggleVantile"), Value(false));
    platform::checkPreferenceChanges();
    EXPECT_EQ(domain->value("toggleVantile"), Value(7));

    // A domain nobody has written through the store has no counter to trust, so every read looks at the file.
    const std::string handOnly = "com.test.hand";
    spit(domainFile(handOnly), "<plist version=\"1.0\"><dict><key>k</key><integer>1</integer></dict></plist>");
    auto other = PreferenceDomain::named(handOnly);
    EXPECT_EQ(other->value("k"), Value(1));
    spit(domainFile(handOnly), "<plist version=\"1.0\"><dict><key>k</key><integer>22</integer></dict></plist>");
    EXPECT_EQ(other->value("k"), Value(22));
}

TEST_F(PreferenceDomainTest, TwoProcessesWritingDifferentKeysLoseNothing) {
    // Each write rewrites the whole file, so the cost grows with the square of the count; a few hundred writes per
    // process already interleave thousands of times over, which is what could lose a key.
    constexpr int kWrites = 250;
    auto writer = [](char prefix) {
        return [prefix] {
            for (int i = 0; i < kWrites; ++i)
                CFPreferencesSetAppValue(std::string(1, prefix) + std::to_string(i), Value(i), kDomain);
        };
    };
    // Seed first, so that both children begin from the same cached copy that goes stale at once.
    CFPreferencesSetAppValue("seed", Value(true), kDomain);
    const pid_t a = spawn(writer('a'));
    const pid_t b = spawn(writer('b'));
    ASSERT_EQ(waitFor(a), 0);
    ASSERT_EQ(waitFor(b), 0);

    const auto stored = onDisk();
    EXPECT_EQ(stored.size(), 2u * kWrites + 1);
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(stored.count("a" + std::to_string(i)), 1u) << i;
        EXPECT_EQ(stored.count("b" + std::to_string(i)), 1u) << i;
    }
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"com.Zorvanic.VantilePrefs.plist",
                                                       "com.Zorvanic.VantilePrefs.plist.lock"}));
}

TEST_F(PreferenceDomainTest, WriterKilledMidWriteNeverLeavesATornFile) {
    // The child rewrites a large value over and over, so that the kill lands inside a write with high likelihood.
    const pid_t child = spawn([] {
        auto domain = PreferenceDomain::named(kDomain);
        Value::Data blob(256 * 1024);
        for (std::uint32_t n = 0;; ++n) {
            blob[n % blob.size()] = static_cast<std::uint8_t>(n);
            blob.resize(256 * 1024 + n % 4096);
            domain->write({{"profilePicture", Value(blob)}, {"count", Value(static_cast<long>(n))}});
        }
    });
    // Every read while the writer runs sees a whole file.
    int whole = 0;
    while (whole < 200) {
        if (!fs::exists(domainFile())) continue;
        auto v = platform::readPropertyListFile(domainFile());
        ASSERT_TRUE(v && v->isDictionary());
        ASSERT_EQ(v->asDictionary()->size(), 2u);
        ++whole;
    }
    ::kill(child, SIGKILL);
    EXPECT_EQ(waitFor(child), -1);

    auto last = platform::readPropertyListFile(domainFile());
    ASSERT_TRUE(last && last->isDictionary());
    EXPECT_TRUE(last->find("profilePicture")->isData());
    // The dead writer's lock died with it: the next write goes through and sweeps away its temporary file.
    EXPECT_TRUE(PreferenceDomain::named(kDomain)->write({{"after", true}}));
    EXPECT_EQ(onDisk().size(), 3u);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"com.Zorvanic.VantilePrefs.plist",
                                                       "com.Zorvanic.VantilePrefs.plist.lock"}));
}

TEST_F(PreferenceDomainTest, EveryEntryPointSharesOneStore) {
    const std::string path = "/var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist";
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    prefs->setObjectForKey(Value("Tweaks!"), "tweaksSectionString");
    EXPECT_EQ(CFPreferencesCopyAppValue("tweaksSectionString", kDomain), Value("Tweaks!"));

    CFPreferencesSetAppValue("vantileCellsChroma", Value("00FF00FF"), kDomain);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKeyInDomain("vantileCellsChroma", kDomain),
              Value("00FF00FF"));

    NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(Value::Data{1, 2}), "profilePicture",
                                                                    kDomain);
    auto dict = platform::dictionaryWithContentsOfFile("file://" + path);
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->size(), 3u);

    // The pane writes the whole file; the store then holds exactly that dictionary.
    (*dict)["vantileCellsChroma"] = "0000FFFF";
    dict->erase("tweaksSectionString");
    ASSERT_TRUE(platform::writeDictionaryToFile(path, *dict));
    EXPECT_EQ(prefs->objectForKey("vantileCellsChroma"), Value("0000FFFF"));
    EXPECT_TRUE(prefs->objectForKey("tweaksSectionString").isNone());
    NSUserDefaults::standardUserDefaults()->removeObjectForKeyInDomain("profilePicture", kDomain);
    EXPECT_EQ(prefs->dictionaryRepresentation(), (Value::Dictionary{{"vantileCellsChroma", "0000FFFF"}}));

    // Files outside the preferences folder are plain files.
    ASSERT_TRUE(platform::writeDictionaryToFile("/var/mobile/other.plist", {{"a", 1}}));
    EXPECT_EQ(platform::dictionaryWithContentsOfFile("/var/mobile/other.plist"), (Value::Dictionary{{"a", 1}}));
}

}  // namespace
