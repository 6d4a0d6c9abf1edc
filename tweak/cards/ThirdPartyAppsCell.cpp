// The store applications card and its start-up state.
#include "tweak/cards/ThirdPartyAppsCell.h"

#include "tweak/cards/CardStartup.h"

#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(ThirdPartyAppsCell)

std::vector<std::string> ThirdPartyAppsCell::storeItemNames() {
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

void ThirdPartyAppsCell::finishBuilding() {
    const long count = static_cast<long>(storeItemNames().size());
    subtitleLabel()->setText(platform::stringWithFormat("%ld installed", count));
    VantileCardCell::finishBuilding();
}

namespace vantile::cards {

CardSettings& thirdPartyAppsCellSettings() {
    static CardSettings settings("ThirdPartyAppsCell");
    return settings;
}

// Its title is the user's section title, so it fetches no texts.
void thirdPartyAppsCellStartup() { thirdPartyAppsCellSettings().load({}); }

}  // namespace vantile::cards
