#include "platform/host/PSBundleErrorController.h"

#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"

VT_REGISTER_CLASS_IN(PSBundleErrorController, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSBundleErrorController::specifiers>(c, "specifiers");
})

Ref<PSBundleErrorController> PSBundleErrorController::pageForEntry(const Ref<PSSpecifier>& entry,
                                                                   std::string reason) {
    auto page = alloc<PSBundleErrorController>();
    page->init();
    const std::string label = entry ? entry->name() : std::string();
    page->setTitle(label);
    page->m_message = label.empty() ? "This pane could not be loaded." : label + " could not be loaded.";
    page->m_reason = std::move(reason);
    return page;
}

Ref<NSMutableArray> PSBundleErrorController::specifiers() {
    if (m_specifiers && !m_specifiers->isEmpty()) return m_specifiers;
    auto group = PSSpecifier::groupSpecifierWithName("");
    group->setPropertyForKey(Property(m_message), "footerText");
    m_specifiers = NSMutableArray::array();
    m_specifiers->addObject(group);
    return m_specifiers;
}

namespace platform::host {

std::optional<std::string> preferenceBundlePathOfEntry(const PSSpecifier& entry) {
    auto name = entry.stringProperty("bundle");
    if (!name || name->empty()) return std::nullopt;
    return "/Library/PreferenceBundles/" + *name + ".bundle";
}

Ref<UIViewController> openPreferenceBundleEntry(const Ref<PSSpecifier>& entry) {
    if (!entry) return nullptr;
    auto path = preferenceBundlePathOfEntry(*entry);
    if (!path) return nullptr;
    auto bundle = NSBundle::bundleWithPath(*path);
    if (!bundle) return PSBundleErrorController::pageForEntry(entry, "no bundle at " + *path);
    if (auto failure = bundle->loadAndReturnError()) return PSBundleErrorController::pageForEntry(entry, *failure);
    Class principal = bundle->principalClass();
    if (!principal) {
        const Value* named = bundle->infoDictionary().find("NSPrincipalClass");
        const std::string* name = named ? named->asString() : nullptr;
        return PSBundleErrorController::pageForEntry(
            entry, name ? "the principal class " + *name + " is not defined" : "the bundle has no principal class");
    }
    auto controller = cast<UIViewController>(platform::runtime::createInstance(principal));
    if (!controller)
        return PSBundleErrorController::pageForEntry(
            entry, "the principal class " + std::string(platform::runtime::className(principal)) +
                       " is no view controller");
    // Not sent by name: "init" is no published selector, and the virtual call reaches subclasses all the same.
    controller->init();
    if (controller->respondsToSelector(sel("setSpecifier:"))) platform::msgSend<void>(controller, sel("setSpecifier:"), entry);
    return controller;
}

}  // namespace platform::host
