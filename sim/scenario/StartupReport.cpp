#include "sim/scenario/StartupReport.h"

#include "platform/core/NSProcessInfo.h"
#include "platform/core/Runtime.h"

#include <dlfcn.h>

namespace sim::scenario {

Value startupReport() {
    Value::Dictionary report;
    auto arguments = NSProcessInfo::processInfo()->arguments();
    report["process"] = arguments.empty() ? std::string() : arguments.front();
    Value::Array hooks;
    for (const auto& h : platform::runtime::hookLog()) hooks.emplace_back(h);
    report["hooks"] = std::move(hooks);
    report["refusedHooks"] = static_cast<long>(platform::runtime::refusedHookCount());
    // The add-on's own account, found by name as the start-up command finds it: absent until it is loaded.
    using ReportFunction = void (*)(Value*);
    if (auto function = reinterpret_cast<ReportFunction>(dlsym(RTLD_DEFAULT, "vantileStartupReport"))) {
        Value own;
        function(&own);
        if (auto* d = own.asDictionary())
            for (auto& [key, value] : *d) report.insert_or_assign(key, value);
    }
    return Value(std::move(report));
}

}  // namespace sim::scenario
