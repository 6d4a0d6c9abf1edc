#pragma once

// The host application's own start-up, after the code-injection loader has loaded the tweak: what the process
// does with the classes the tweak may have replaced, always through the run-time, so the replacements act.

#include "platform/core/Value.h"
#include "sim/ProcessProfile.h"

namespace sim {

struct HostOptions {
    // The radius the host's search field layout asks for.
    double cornerRadius = 10.0;
};

// Every process reads the radio states it shows (airplane mode, Bluetooth power) if it has the services. Settings
// also creates its root page, loads its view (viewDidLoad), shows it (viewDidAppear:), loads its installed
// applications, reloads the account row once its picture arrived, sees an appearance change, lays out its search field and opens one plain
// list page; then it asks a page for edge-to-edge cells and its width class, as a trait change would.
// Answers what the host saw, as a dictionary for the report.
Value runHostStartup(ProcessKind kind, const HostOptions& options);

}  // namespace sim
