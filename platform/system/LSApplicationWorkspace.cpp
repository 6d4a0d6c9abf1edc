#include "platform/system/LSApplicationWorkspace.h"

#include "platform/core/Runtime.h"
#include "platform/system/LSApplicationProxy.h"

#include <atomic>
#include <mutex>

VT_REGISTER_CLASS_IN(LSApplicationWorkspace, "LSApplicationWorkspace", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&LSApplicationWorkspace::defaultWorkspaceObject>(c, "defaultWorkspace");
    addMethod<&LSApplicationWorkspace::allApplications>(c, "allApplications");
})

namespace {

struct Installed {
    std::mutex mutex;
    std::vector<platform::system::ApplicationRecord> records;
    std::atomic<std::size_t> enumerations{0};
};

Installed& installed() {
    static Installed* s = new Installed;  // never destroyed: the workspace may be asked during static destruction
    return *s;
}

}  // namespace

Ref<LSApplicationWorkspace> LSApplicationWorkspace::defaultWorkspace() {
    static Ref<LSApplicationWorkspace>* shared = new Ref<LSApplicationWorkspace>(alloc<LSApplicationWorkspace>());
    return *shared;
}

std::vector<id> LSApplicationWorkspace::allApplications() {
    ++installed().enumerations;
    const std::vector<platform::system::ApplicationRecord> records = platform::system::applicationRecords();
    std::vector<id> out;
    out.reserve(records.size());
    for (const auto& record : records) {
        auto proxy = alloc<LSApplicationProxy>();
        proxy->initWithIdentifierItemName(record.identifier, record.itemName);
        out.push_back(std::move(proxy));
    }
    return out;
}

std::size_t LSApplicationWorkspace::enumerationCount() { return installed().enumerations.load(); }

namespace platform::system {

void setApplicationRecords(std::vector<ApplicationRecord> records) {
    std::lock_guard lock(installed().mutex);
    installed().records = std::move(records);
}

std::vector<ApplicationRecord> applicationRecords() {
    std::lock_guard lock(installed().mutex);
    return installed().records;
}

void resetApplicationRecords() {
    std::lock_guard lock(installed().mutex);
    installed().records.clear();
    installed().enumerations = 0;
}

}  // namespace platform::system
