// The code-injection loader: which libraries of the device root go into which process.
#include "sim/install/LibraryLoader.h"
#include "sim/install/LoaderFilter.h"
#include "sim/install/PackageInstaller.h"
#include "tests/sim/SimProcess.h"

#include "platform/core/PropertyList.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace sim::install;

namespace {

Value names(std::initializer_list<const char*> list) {
    Value::Array a;
    for (const char* n : list) a.emplace_back(n);
    return a;
}

Value filterPlist(Value::Dictionary filter) { return Value::Dictionary{{"Filter", Value(std::move(filter))}}; }

const ProcessIdentity kSettings{"com.apple.Preferences", "Preferences"};
const ProcessIdentity kSpringBoard{"com.apple.springboard", "SpringBoard"};
const ProcessIdentity kDaemon{std::nullopt, "backboardd"};

TEST(LoaderFilter, AdmitsByBundleExecutableAndClass) {
    const Value bundles = filterPlist({{"Bundles", names({"com.apple.Preferences", "com.apple.springboard"})}});
    const Value executables = filterPlist({{"Executables", names({"backboardd"})}});
    const Value both = filterPlist({{"Bundles", names({"com.apple.Preferences"})}, {"Executables", names({"SpringBoard"})}});
    const Value either = filterPlist(
        {{"Bundles", names({"com.apple.Preferences"})}, {"Executables", names({"SpringBoard"})}, {"Mode", "Any"}});
    const Value classes = filterPlist({{"Classes", names({"PSUIPrefsListController"})}});
    const Value nothing = filterPlist({});
    auto settingsClasses = [](const std::string& c) { return c == "PSUIPrefsListController"; };

    struct Case {
        const char* what;
        const Value* plist;
        ProcessIdentity process;
        bool admitted;
    };
    const Case cases[] = {
        {"bundle listed", &bundles, kSettings, true},
        {"second bundle listed", &bundles, kSpringBoard, true},
        {"daemon has no bundle", &bundles, kDaemon, false},
        {"other app", &bundles, {"com.example.app", "App"}, false},
        {"executable listed", &executables, kDaemon, true},
        {"executable not listed", &executables, kSettings, false},
        {"all lists must admit: only one does", &both, kSettings, false},
        {"all lists must admit: the other one only", &both, kSpringBoard, false},
        {"all lists admit", &both, {"com.apple.Preferences", "SpringBoard"}, true},
        {"Mode Any: one suffices", &either, kSpringBoard, true},
        {"Mode Any: none", &either, kDaemon, false},
        {"class present", &classes, kSettings, true},
        {"empty filter", &nothing, kSettings, false},
    };
    for (const auto& c : cases) {
        const auto filter = loaderFilterFromPlist(*c.plist);
        ASSERT_TRUE(filter) << c.what;
        EXPECT_EQ(filter->admits(c.process, settingsClasses), c.admitted) << c.what;
    }
    // Without a way to ask for classes, a Classes list admits nothing.
    EXPECT_FALSE(loaderFilterFromPlist(classes)->admits(kSettings));
}

TEST(LoaderFilter, RefusesMalformedPlists) {
    const Value cases[] = {
        Value::Dictionary{},
        Value::Dictionary{{"Filter", "com.apple.Preferences"}},
        filterPlist({{"Bundles", "com.apple.Preferences"}}),
        filterPlist({{"Bundles", Value(Value::Array{Value(3)})}}),
        filterPlist({{"Executables", names({"a"})}, {"Mode", Value(1)}}),
    };
    for (const auto& plist : cases) EXPECT_FALSE(loaderFilterFromPlist(plist));
}

class LoaderTest : public ::testing::Test {
protected:
    fs::path libraries() const { return m_root.path() / "Library/MobileSubstrate/DynamicLibraries"; }
    void addLibrary(const std::string& name, const fs::path& from, const std::optional<Value>& filter) {
        fs::create_directories(libraries());
        fs::copy_file(from, libraries() / (name + ".dylib"), fs::copy_options::overwrite_existing);
        if (filter) {
            ASSERT_TRUE(platform::writePropertyListFile(libraries() / (name + ".plist"), *filter));
        }
    }
    simtest::TempDeviceRoot m_root;
};

// A small library this process already uses, to copy into the root as an injectable one.
fs::path someSharedLibrary() {
    std::string found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.find("/libz.so") == std::string::npos) return 0;
            *static_cast<std::string*>(out) = name;
            return 1;
        },
        &found);
    return found;
}

TEST_F(LoaderTest, IdentifiesProcessesByTheirBundle) {
    const fs::path app = m_root.path() / "Applications/Notes.app";
    fs::create_directories(app);
    ASSERT_TRUE(platform::writePropertyListFile(app / "Info.plist", Value::Dictionary{{"CFBundleIdentifier", "com.apple.notes"}}));

    const auto notes = identifyProcess(m_root.path(), "/Applications/Notes.app/Notes");
    EXPECT_EQ(notes.bundleIdentifier, "com.apple.notes");
    EXPECT_EQ(notes.executableName, "Notes");
    EXPECT_EQ(identifyProcess(m_root.path(), "/Applications/Preferences.app/Preferences").bundleIdentifier,
              "com.apple.Preferences");
    EXPECT_EQ(identifyProcess(m_root.path(), "/System/Library/CoreServices/SpringBoard.app/SpringBoard").bundleIdentifier,
              "com.apple.springboard");
    const auto daemon = identifyProcess(m_root.path(), "/usr/libexec/backboardd");
    EXPECT_FALSE(daemon.bundleIdentifier);
    EXPECT_EQ(daemon.executableName, "backboardd");
}

TEST_F(LoaderTest, LoadsOnlyWhatTheFiltersAdmit) {
    const fs::path zlib = someSharedLibrary();
    ASSERT_FALSE(zlib.empty()) << "no libz in this process to copy";
    addLibrary("ASettingsOnly", zlib, filterPlist({{"Bundles", names({"com.apple.Preferences"})}}));
    addLibrary("BDaemonOnly", zlib, filterPlist({{"Executables", names({"backboardd"})}}));
    addLibrary("CNoFilter", zlib, std::nullopt);
    addLibrary("DBrokenFilter", zlib, std::nullopt);
    std::ofstream(libraries() / "DBrokenFilter.plist") << "<plist><dict><key>Filter";
    std::ofstream(libraries() / "ENotALibrary.dylib") << "text, not a shared object";
    ASSERT_TRUE(platform::writePropertyListFile(libraries() / "ENotALibrary.plist",
                                                filterPlist({{"Bundles", names({"com.apple.Preferences"})}})));

    LoadReport skipped;
    const auto forDaemon = librariesForProcess(m_root.path(), kDaemon, &skipped);
    ASSERT_EQ(forDaemon.size(), 1u);
    EXPECT_EQ(forDaemon[0].filename(), "BDaemonOnly.dylib");
    EXPECT_EQ(skipped.skipped.size(), 4u);

    const std::string settings = "/Applications/Preferences.app/Preferences";
    const auto report = injectLibraries(m_root.path(), settings);
    EXPECT_EQ(report.loaded, (std::vector<std::string>{"/Library/MobileSubstrate/DynamicLibraries/ASettingsOnly.dylib"}));
    EXPECT_EQ(report.skipped, (std::vector<std::string>{"/Library/MobileSubstrate/DynamicLibraries/BDaemonOnly.dylib",
                                                         "/Library/MobileSubstrate/DynamicLibraries/CNoFilter.dylib",
                                                         "/Library/MobileSubstrate/DynamicLibraries/DBrokenFilter.dylib"}));
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].find("ENotALibrary.dylib"), std::string::npos) << report.failures[0];
    // Really in the process, or really not.
    EXPECT_TRUE(dlopen((libraries() / "ASettingsOnly.dylib").c_str(), RTLD_NOW | RTLD_NOLOAD));
    EXPECT_FALSE(dlopen((libraries() / "BDaemonOnly.dylib").c_str(), RTLD_NOW | RTLD_NOLOAD));
    EXPECT_FALSE(dlopen((libraries() / "CNoFilter.dylib").c_str(), RTLD_NOW | RTLD_NOLOAD));
}

TEST_F(LoaderTest, TheInstalledAddOnGoesIntoSettingsAndTheHomeScreenOnly) {
    const auto deb = defaultPackage();
    ASSERT_TRUE(deb);
    ASSERT_TRUE(installPackage(*deb, m_root.path()));
    const fs::path tweak = libraries() / "Vantile.dylib";
    struct Case {
        const char* process;
        bool loaded;
    };
    for (const Case& c : {Case{"/Applications/Preferences.app/Preferences", true},
                          Case{"/System/Library/CoreServices/SpringBoard.app/SpringBoard", true},
                          Case{"/Applications/MobileSafari.app/MobileSafari", false},
                          Case{"/usr/libexec/backboardd", false}}) {
        const auto chosen = librariesForProcess(m_root.path(), identifyProcess(m_root.path(), c.process));
        EXPECT_EQ(chosen, c.loaded ? std::vector<fs::path>{tweak} : std::vector<fs::path>{}) << c.process;
    }
}

}  // namespace
