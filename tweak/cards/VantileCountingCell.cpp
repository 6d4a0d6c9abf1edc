#include "tweak/cards/VantileCountingCell.h"

#include "tweak/cards/CardKind.h"

#include "platform/core/NSFileManager.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VantileCountingCell)

std::vector<std::string> VantileCountingCell::storeItemNames() {
    std::vector<std::string> names;
    Class workspaceClass = objc_getClass("LSApplicationWorkspace");
    if (!workspaceClass) return names;
    // The run-time has no class messages: "defaultWorkspace" goes to an instance made from the class.
    const id source = platform::runtime::createInstance(workspaceClass);
    const SEL defaultWorkspace = NSSelectorFromString("defaultWorkspace");
    const SEL allApplications = NSSelectorFromString("allApplications");
    const SEL itemName = NSSelectorFromString("itemName");
    if (!source || !source->respondsToSelector(defaultWorkspace)) return names;
    const id workspace = platform::msgSend<id>(source, defaultWorkspace);
    if (!workspace || !workspace->respondsToSelector(allApplications)) return names;
    for (const id& record : platform::msgSend<std::vector<id>>(workspace, allApplications)) {
        if (!record || !record->respondsToSelector(itemName)) continue;
        if (auto name = platform::msgSend<std::optional<std::string>>(record, itemName)) names.push_back(*name);
    }
    return names;
}

long VantileCountingCell::countFor(const vantile::cards::CardRow& row) {
    using vantile::cards::CountSource;
    switch (row.counts) {
    case CountSource::Folder: {
        const auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(row.countedFolder);
        return entries ? static_cast<long>(entries->size()) : 0;
    }
    case CountSource::StoreApplications: return static_cast<long>(storeItemNames().size());
    case CountSource::None: break;
    }
    return 0;
}

void VantileCountingCell::finishBuilding() {
    if (const vantile::cards::CardKind* cardKind = kind())
        subtitleLabel()->setText(platform::stringWithFormat(cardKind->row.countFormat, countFor(cardKind->row)));
    VantileCardCell::finishBuilding();
}
