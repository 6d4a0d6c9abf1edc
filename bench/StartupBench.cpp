// Loading the tweak library into a process: its 28 start-up constructors and, with the master switch on in the
// Settings process, its 14 hooks. Target: at most 5 ms.
//
// Method: the constructors run once per process, so every iteration forks a fresh child of this program. The child
// prepares the process as the simulator's loader does (device root with the installed bundle and a backing file
// holding toggleVantile YES, process arguments of Settings, the Settings class groups), then measures dlopen of the
// build's libVantile.so alone and sends the figures and the number of installed hooks back through a pipe. The
// fork, the preparation and the child's exit are outside the measured time (manual timing).
//
// A second case stores a 50 MB profile picture beside the switch, as a user's photo can: start-up must not grow
// with the size of values it does not read (every bound variable once copied the whole domain). Target: within a
// few milliseconds of the plain case, apart from reading the file itself.
//
// The reported time is the child's CPU time across dlopen (CLOCK_PROCESS_CPUTIME_ID; the child has one thread):
// the build machine is shared, and under load the wall-clock figure mostly measures how long the scheduler kept
// the child waiting. The wall-clock figure is reported beside it as the counter "wall_ms".
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <dlfcn.h>
#include <filesystem>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ChildResult {
    double seconds = -1;
    double wallSeconds = -1;
    long hooks = -1;
};

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

fs::path prepareRoot(std::size_t pictureBytes) {
    const fs::path root = fs::temp_directory_path() / ("vantile-startup-bench-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path bundle = fs::path(VANTILE_BUILD_DIR) / "device/Library/Application Support/Vantile.bundle";
    if (fs::is_directory(bundle)) {
        fs::create_directories(root / "Library/Application Support");
        fs::copy(bundle, root / "Library/Application Support/Vantile.bundle", fs::copy_options::recursive);
    }
    const fs::path prefs = root / "var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist";
    fs::create_directories(prefs.parent_path());
    Value::Dictionary stored{{"toggleVantile", true}};
    if (pictureBytes > 0) stored["profilePicture"] = Value::Data(pictureBytes, 0x5A);
    platform::writePropertyListFile(prefs, Value(std::move(stored)));
    return root;
}

ChildResult loadInFreshProcess(const fs::path& root, const std::string& library) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        platform::setDeviceRoot(root);
        NSProcessInfo::processInfo()->setArguments({"/Applications/Preferences.app/Preferences"});
        for (const char* group : {"Preferences", "RadiosPreferences", "BluetoothManager"})
            platform::runtime::enableClassGroup(group);
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
        const auto end = std::chrono::steady_clock::now();
        const double cpuEnd = processCpuSeconds();
        ChildResult result;
        if (handle) {
            result.seconds = cpuEnd - cpuStart;
            result.wallSeconds = std::chrono::duration<double>(end - start).count();
            result.hooks = static_cast<long>(platform::runtime::hookLog().size());
        }
        (void)!write(fds[1], &result, sizeof result);
        _exit(0);
    }
    close(fds[1]);
    ChildResult result;
    if (pid < 0 || read(fds[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) result = {};
    close(fds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return result;
}

void loadLibrary(benchmark::State& state, const char* name, std::size_t pictureBytes = 0) {
    const fs::path root = prepareRoot(pictureBytes);
    const std::string library = (fs::path(VANTILE_BUILD_DIR) / name).string();
    long hooks = 0;
    double wall = 0;
    for (auto _ : state) {
        const ChildResult r = loadInFreshProcess(root, library);
        if (r.seconds < 0) {
            state.SkipWithError("the child could not load the library");
            break;
        }
        hooks = r.hooks;
        wall += r.wallSeconds;
        state.SetIterationTime(r.seconds);
    }
    state.counters["hooks"] = static_cast<double>(hooks);
    state.counters["wall_ms"] = state.iterations() ? wall * 1e3 / static_cast<double>(state.iterations()) : 0;
    fs::remove_all(root);
}
void BM_LoadTweakLibrary(benchmark::State& state) { loadLibrary(state, "libVantile.so"); }
BENCHMARK(BM_LoadTweakLibrary)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_LoadTweakLibraryWith50MBPicture(benchmark::State& state) {
    loadLibrary(state, "libVantile.so", std::size_t{50} << 20);
}
BENCHMARK(BM_LoadTweakLibraryWith50MBPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The same for the preference bundle, which runs no constructors: the loader's own cost in a forked child (mapping,
// relocation, copy-on-write faults), to tell it apart from the tweak's start-up.
void BM_LoadLibraryWithoutConstructors(benchmark::State& state) { loadLibrary(state, "libVantilePrefs.so"); }
BENCHMARK(BM_LoadLibraryWithoutConstructors)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
