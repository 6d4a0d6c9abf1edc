// The costs of the preference domain that the add-on pays often: reading a bound variable, the change check at
// every run-loop turn, and loading the domain's file compared with libplist parsing the same file and nothing else.

#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/PropertyList.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

constexpr const char* kDomain = "com.Zorvanic.VantilePrefs";

// A domain as a user who has set everything leaves it: every key of the add-on, both card lists and a picture.
Value::Dictionary typicalDomain() {
    Value::Dictionary d;
    for (const char* key : {"toggleVantile", "toggleHaptics", "toggleCellsChroma", "toggleCellsRandomChroma",
                            "toggleCellsFontChroma", "toggleDefaultTheme", "toggleOceanTheme", "toggleSunsetTheme",
                            "togglePeachTheme", "toggleMartiniTheme", "toggleStormTheme"})
        d[key] = true;
    d["vantileFlowDirection"] = 1;
    d["tweaksSectionString"] = "Tweaks";
    d["stockAppsString"] = "Stock Apps";
    d["thirdPartyAppsString"] = "3rd Party Apps";
    d["vantileCellsChroma"] = "FFFFFFFF";
    d["vantileCellsFontChroma"] = "000000FF";
    d["vantileStatusONChroma"] = "35C759FF";
    d["vantileStatusOFFChroma"] = "FE3B30FF";
    d["profileNameString"] = "Username";
    d["userBirthdayDate"] = "7Dec";
    Value::Array enabled, disabled;
    const char* titles[] = {"Wi-Fi", "Bluetooth", "Cellular Data", "Airplane Mode", "Battery", "Accessibility",
                            "Control Center", "Do Not Disturb", "Developer", "Display & Brightness",
                            "Emergency SOS", "General", "Personal Hotspot", "Notifications",
                            "Touch/Face ID & Passcode", "Privacy", "Screen Time", "Siri & Search",
                            "Sounds & Haptics", "Wallpaper", "Stock Apps", "3rd Party Apps", "Tweaks"};
    for (std::size_t i = 0; i < std::size(titles); ++i) (i < 12 ? enabled : disabled).push_back(Value(titles[i]));
    d["vantileEnabledArray"] = enabled;
    d["vantileDisabledArray"] = disabled;
    Value::Data picture(48 * 1024);
    std::mt19937 rng(1);
    for (auto& b : picture) b = static_cast<std::uint8_t>(rng());
    d["profilePicture"] = picture;
    return d;
}

class Root : public testing_support::TemporaryRoot {
public:
    Root() : TemporaryRoot("prefs-bench") { useAsDeviceRoot(); }
    std::filesystem::path domainFile() const { return preferencesFolder() / (std::string(kDomain) + ".plist"); }
};

std::vector<char> fileBytes(const std::filesystem::path& p) {
    std::vector<char> bytes;
    const int fd = ::open(p.c_str(), O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return bytes;
}

void BM_BoundVariableRead(benchmark::State& state) {
    Root root;
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    prefs->setBoolForKey(true, "toggleHaptics");
    static bool haptics = false;  // process-wide, as the add-on binds them
    prefs->registerBoolDefaultForKey(&haptics, false, "toggleHaptics");
    for (auto _ : state) {
        benchmark::DoNotOptimize(haptics);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BoundVariableRead);

void BM_TurnCheckWhenNothingChanged(benchmark::State& state) {
    Root root;
    auto domain = platform::PreferenceDomain::named(kDomain);
    domain->replace(typicalDomain());
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    static long direction = 0;
    prefs->registerIntegerDefaultForKey(&direction, 0, "vantileFlowDirection");
    for (auto _ : state) benchmark::DoNotOptimize(platform::checkPreferenceChanges());
}
BENCHMARK(BM_TurnCheckWhenNothingChanged);

// The two parts of that check on their own, to show what the write counter adds to the stat.
void BM_CheckPartStat(benchmark::State& state) {
    Root root;
    platform::PreferenceDomain::named(kDomain)->replace(typicalDomain());
    const auto file = root.domainFile();
    struct stat st {};
    for (auto _ : state) benchmark::DoNotOptimize(::stat(file.c_str(), &st));
}
BENCHMARK(BM_CheckPartStat);

// The domain reads the counter through a shared mapping, as here.
void BM_CheckPartCounterRead(benchmark::State& state) {
    Root root;
    platform::PreferenceDomain::named(kDomain)->replace(typicalDomain());
    const int fd = ::open((root.domainFile().string() + ".lock").c_str(), O_RDONLY);
    void* map = ::mmap(nullptr, sizeof(std::uint64_t), PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        state.SkipWithError("the counter could not be mapped");
        ::close(fd);
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(__atomic_load_n(static_cast<const std::uint64_t*>(map), __ATOMIC_ACQUIRE));
    ::munmap(map, sizeof(std::uint64_t));
    ::close(fd);
}
BENCHMARK(BM_CheckPartCounterRead);

// A change from another process lands, and the next turn's check reloads the domain and updates a bound variable:
// stat, counter, read, parse, convert, notify. The change itself (a prepared file renamed into place) is untimed.
void BM_ReadDomainAfterChange(benchmark::State& state) {
    Root root;
    auto domain = platform::PreferenceDomain::named(kDomain);
    auto contents = typicalDomain();
    domain->replace(contents);
    const auto file = root.domainFile();
    const auto variantA = file.string() + ".a", variantB = file.string() + ".b", incoming = file.string() + ".in";
    platform::writePropertyListFile(variantA, Value(contents));
    contents["toggleHaptics"] = false;
    platform::writePropertyListFile(variantB, Value(contents));
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    static bool haptics = false;
    prefs->registerBoolDefaultForKey(&haptics, true, "toggleHaptics");
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        flip = !flip;
        std::filesystem::copy_file(flip ? variantB : variantA, incoming,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::rename(incoming, file);
        state.ResumeTiming();
        benchmark::DoNotOptimize(domain->checkForChanges());
    }
    if (haptics == flip) state.SkipWithError("the bound variable did not follow");
}
BENCHMARK(BM_ReadDomainAfterChange);

// The first read of a domain in a process: as above plus opening the write counter.
void BM_ReadDomainFirstTime(benchmark::State& state) {
    Root root;
    platform::PreferenceDomain::named(kDomain)->replace(typicalDomain());
    const auto file = root.domainFile();
    for (auto _ : state) {
        platform::PreferenceDomain fresh(file);
        benchmark::DoNotOptimize(fresh.snapshot()->size());
    }
}
BENCHMARK(BM_ReadDomainFirstTime);

// The yardstick: read the same file and let libplist parse it, nothing else.
void BM_BareLibplistParse(benchmark::State& state) {
    Root root;
    platform::PreferenceDomain::named(kDomain)->replace(typicalDomain());
    const auto file = root.domainFile();
    for (auto _ : state) {
        const auto bytes = fileBytes(file);
        plist_t p = nullptr;
        plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &p);
        benchmark::DoNotOptimize(p);
        plist_free(p);
    }
}
BENCHMARK(BM_BareLibplistParse);

// A read within one check round of a domain written through the store: the counter alone is looked at.
void BM_ReadDomainCached(benchmark::State& state) {
    Root root;
    auto domain = platform::PreferenceDomain::named(kDomain);
    domain->replace(typicalDomain());
    for (auto _ : state) benchmark::DoNotOptimize(domain->value("vantileCellsChroma"));
}
BENCHMARK(BM_ReadDomainCached);

// One key written by a preferences object: lock, re-read, merge, write, fsync, rename.
void BM_WriteOneKey(benchmark::State& state) {
    Root root;
    auto domain = platform::PreferenceDomain::named(kDomain);
    domain->replace(typicalDomain());
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    long n = 0;
    for (auto _ : state) prefs->setIntegerForKey(++n, "vantileFlowDirection");
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
