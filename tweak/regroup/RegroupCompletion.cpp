#include "tweak/regroup/RegroupCompletion.h"

#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"

#include <algorithm>

namespace vantile::regroup {

RegroupCompletion& regrouping() {
    static RegroupCompletion r;
    return r;
}

namespace {

bool isReplacedAppleApp(std::string_view identifier) {
    return std::find(std::begin(kReplacedAppleApps), std::end(kReplacedAppleApps), identifier) !=
           std::end(kReplacedAppleApps);
}

}  // namespace

void RegroupCompletion::complete(NSObject& controller, const Ref<NSMutableArray>& installed,
                                 const Ref<NSMutableDictionary>& moved, const LinkRowFactory& makeLink) {
    // Through the run-time: the root controller's own "specifiers" is replaced too, and that replacement must see
    // the list the pass starts from.
    const auto current = platform::msgSend<Ref<NSMutableArray>>(&controller, sel("specifiers"));
    Ref<NSMutableArray> root = current ? current->mutableCopy() : NSMutableArray::array();

    if (!m_regrouped) {
        m_regrouped = true;
        m_lists = regroupRootList(*root, m_flags, makeLink);
    }

    // A host without the instance variable simply has nothing moved to take off.
    if (auto ivar = object_getIvar(&controller, "_movedThirdPartySpecifiers"))
        if (auto hostMoved = cast<NSMutableDictionary>(*ivar)) root->removeObjectsInArray(*hostMoved->allValues());

    const Ref<NSMutableArray> movedValues = moved ? moved->allValues() : NSMutableArray::array();
    if (auto& apple = m_lists.apple) {
        std::vector<id> replaced;
        for (const id& entry : apple->objects())
            if (isReplacedAppleApp(identifierOf(entry))) replaced.push_back(entry);
        for (const id& entry : replaced) apple->removeObject(entry);
        // The host hands over the same moved entries on every completion; taking each out before appending it
        // refreshes the Apple list instead of growing it by a copy per call.
        for (const id& entry : movedValues->objects()) {
            apple->removeObject(entry);
            apple->addObject(entry);
        }
    }
    root->removeObjectsInArray(*movedValues);

    if (auto& list = m_lists.installed) {
        list->removeAllObjects();
        if (installed) list->addObjectsFromArray(*installed);
        root->removeObjectsInArray(*list);
    }
    // Without an installed list there is no link to it either, so the installed applications stay on the root
    // page rather than vanish from every page.

    platform::msgSend<void, Ref<NSMutableArray>>(&controller, sel("setSpecifiers:"), root);
}

}  // namespace vantile::regroup
