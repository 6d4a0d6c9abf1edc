#include "sim/StartupCommand.h"

#include "platform/core/NSBundle.h"
#include "platform/core/Runtime.h"
#include "platform/system/DeviceRadios.h"
#include "sim/HostStartup.h"
#include "platform/harness/JSONValue.h"
#include "sim/Loader.h"
#include "sim/StartupOptions.h"
#include "sim/device/SimulatedDevice.h"
#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/UIViewController.h"

#include <dlfcn.h>
#include <cstdio>
#include <iostream>

namespace sim {
namespace {

using platform::msgSend;

// The tweak's own account of its start-up, merged into the report.
void addTweakReport(Value::Dictionary& report) {
    using ReportFunction = void (*)(Value*);
    auto function = reinterpret_cast<ReportFunction>(dlsym(RTLD_DEFAULT, "vantileStartupReport"));
    if (!function) return;
    Value tweak;
    function(&tweak);
    if (auto* d = tweak.asDictionary())
        for (auto& [key, value] : *d) report.insert_or_assign(key, value);
}

// One line per entry: "H" or "H:IDENTIFIER" for group headers, "Name" or "Name [IDENTIFIER]" for rows.
Value rootListReport(const Ref<NSMutableArray>& list) {
    Value::Array lines;
    if (!list) return lines;
    for (const auto& e : *list) {
        auto s = cast<PSSpecifier>(e);
        if (!s) continue;
        if (s->isGroup()) lines.emplace_back(s->identifier() ? "H:" + *s->identifier() : std::string("H"));
        else lines.emplace_back(s->identifier() ? s->name() + " [" + *s->identifier() + "]" : s->name());
    }
    return lines;
}

int runDeviceStartup(const StartupOptions& options) {
    const std::filesystem::path root = options.root ? *options.root : defaultDeviceRoot();
    SimulatedDevice device(root);
    device.setProfile(*options.profile);
    device.setLanguage(options.language);
    platform::system::DeviceRadios::setAirplaneMode(options.airplaneMode);
    platform::system::DeviceRadios::setBluetoothPowered(options.bluetooth);
    LaunchOptions launch;
    launch.process = options.process;
    launch.loadTweak = options.loadTweak;
    launch.library = options.library;
    if (auto error = device.launch(launch)) {
        std::cerr << "vantile-sim startup: " << *error << "\n";
        return 1;
    }
    device.advance(1);

    Value::Dictionary report;
    report["process"] = options.process;
    report["profile"] = *options.profile;
    Value::Array loaded;
    for (const auto& library : device.loadedLibraries()) loaded.emplace_back(library);
    report["loadedLibraries"] = std::move(loaded);
    Value::Array hooks;
    for (const auto& h : platform::runtime::hookLog()) hooks.emplace_back(h);
    report["hooks"] = std::move(hooks);
    report["refusedHooks"] = static_cast<long>(platform::runtime::refusedHookCount());
    if (auto rootPage = device.rootController()) {
        report["rootList"] = rootListReport(rootPage->specifiersIvar());
        report["installedLoads"] = static_cast<long>(rootPage->installedLoadCount());
    }
    if (options.openURL) {
        device.openURL(*options.openURL);
        device.advance(1);
    }
    if (auto visible = device.visibleController()) {
        report["visibleTitle"] = visible->title();
        if (visible->respondsToSelector(sel("specifiers")))
            report["visibleList"] = rootListReport(msgSend<Ref<NSMutableArray>>(visible, sel("specifiers")));
    }
    if (options.loadTweak) addTweakReport(report);
    if (!report.count("filter")) report["filter"] = false;
    std::cout << toJSON(Value(std::move(report)), options.pretty ? 2 : 0) << "\n";
    return 0;
}

}  // namespace

int runStartupCommand(std::span<const std::string> arguments) {
    auto parsed = parseStartupOptions(arguments);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "vantile-sim startup: " << *error << "\n" << kStartupUsage;
        return 2;
    }
    const StartupOptions& options = std::get<StartupOptions>(parsed);
    if (options.profile) return runDeviceStartup(options);

    const std::filesystem::path root = options.root ? *options.root : defaultDeviceRoot();
    const ProcessProfile profile = profileForProcess(options.process);
    const std::vector<std::string> groups = options.groups ? *options.groups : profile.classGroups;

    platform::setPreferredLanguages({options.language});
    platform::system::DeviceRadios::setAirplaneMode(options.airplaneMode);
    platform::system::DeviceRadios::setBluetoothPowered(options.bluetooth);
    if (auto error = prepareProcess(root, options.process, groups)) {
        std::cerr << "vantile-sim startup: " << *error << "\n";
        return 1;
    }
    Value::Array installed;
    for (const auto& bundle : installBundles(root)) installed.emplace_back(bundle);

    Value::Dictionary report;
    report["process"] = options.process;
    report["kind"] = std::string(kindName(profile.kind));
    Value::Array groupList;
    for (const auto& g : groups) groupList.emplace_back(g);
    report["classGroups"] = std::move(groupList);
    report["installedBundles"] = std::move(installed);

    if (options.loadTweak) {
        const auto library = options.library ? std::optional(*options.library) : defaultTweakLibrary();
        if (!library) {
            std::cerr << "vantile-sim startup: libVantile.so not found beside the executable or in the build folder\n";
            return 1;
        }
        if (auto error = loadTweakLibrary(*library)) {
            std::cerr << "vantile-sim startup: cannot load " << library->string() << ": " << *error << "\n";
            return 1;
        }
        report["library"] = library->string();
    }
    // The hooks are those start-up installed, before the host's code ran.
    Value::Array hooks;
    for (const auto& h : platform::runtime::hookLog()) hooks.emplace_back(h);
    report["hooks"] = std::move(hooks);
    report["refusedHooks"] = static_cast<long>(platform::runtime::refusedHookCount());

    report["host"] = runHostStartup(profile.kind, HostOptions{options.cornerRadius});

    report["device"] = Value::Dictionary{{"airplaneMode", platform::system::DeviceRadios::airplaneMode()},
                                         {"bluetoothPowered", platform::system::DeviceRadios::bluetoothPowered()}};
    // The tweak's own account of its start-up, read after the host ran so the radio flags show what it recorded.
    if (options.loadTweak) addTweakReport(report);
    if (!report.count("filter")) report["filter"] = false;

    std::cout << toJSON(Value(std::move(report)), options.pretty ? 2 : 0) << "\n";
    return 0;
}

}  // namespace sim
