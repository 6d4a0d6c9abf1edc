#pragma once

// The private workspace of installed applications. Present in a process only when the host enabled its class
// group "LSApplicationWorkspace". What it lists is the simulated device's application records, read afresh at
// every `allApplications`.
//
// The run-time has no class messages, so callers that find the class by name send "defaultWorkspace" to an
// instance made from it and get the process's one workspace back.
//
// Published: "defaultWorkspace"  id defaultWorkspaceObject()
//            "allApplications"   std::vector<id> allApplications()   (LSApplicationProxy objects, device order)

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <vector>

class LSApplicationWorkspace : public NSObject {
    VT_OBJECT(LSApplicationWorkspace, NSObject)
public:
    static Ref<LSApplicationWorkspace> defaultWorkspace();
    id defaultWorkspaceObject() { return defaultWorkspace(); }
    // A new record per installed application, in the device's order; empty when nothing is installed.
    virtual std::vector<id> allApplications();
    // Sends of "allApplications" since the last reset of the records.
    static std::size_t enumerationCount();
};

namespace platform::system {

struct ApplicationRecord {
    std::string identifier;
    std::optional<std::string> itemName;  // present for applications from the store
};

// The simulated device's installed applications; none at process start. Calls may come from any thread.
void setApplicationRecords(std::vector<ApplicationRecord> records);
std::vector<ApplicationRecord> applicationRecords();
// No applications, enumeration count 0.
void resetApplicationRecords();

}  // namespace platform::system
