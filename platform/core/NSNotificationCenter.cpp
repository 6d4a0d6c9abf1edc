#include "platform/core/NSNotificationCenter.h"

#include "platform/core/NotificationRecords.h"
#include "platform/core/Runtime.h"

#include <algorithm>

VT_REGISTER_CLASS(NSNotificationCenter)

Ref<NSNotificationCenter> NSNotificationCenter::defaultCenter() {
    static Ref<NSNotificationCenter> shared = alloc<NSNotificationCenter>();
    return shared;
}

void NSNotificationCenter::addObserverSelectorNameObject(const id& observer, SEL selector,
                                                         std::optional<std::string> name, const id& object) {
    if (!observer || !selector) return;
    m_registrations.push_back(
        Registration{m_nextSerial++, observer, observer.get(), selector, std::move(name), object, object.get()});
}

void NSNotificationCenter::removeObserver(const id& observer) {
    removeObserverNameObject(observer, std::nullopt, nullptr);
}

void NSNotificationCenter::removeObserverNameObject(const id& observer, std::optional<std::string_view> name,
                                                    const id& object) {
    if (!observer) return;
    std::erase_if(m_registrations, [&](const Registration& r) {
        return r.observerIdentity == observer.get() && (!name || (r.name && *r.name == *name)) &&
               (!object || r.objectIdentity == object.get());
    });
}

void NSNotificationCenter::postNotificationNameObject(std::string_view name, const id& object) {
    postNotificationNameObjectUserInfo(name, object, Value{});
}

void NSNotificationCenter::postNotificationNameObjectUserInfo(std::string_view name, const id& object,
                                                              Value userInfo) {
    platform::recordNotification({platform::NotificationKind::Default, std::string(name),
                                  object ? std::string(object->className()) : std::string(), !userInfo.isNone(),
                                  false});
    deliver(NSNotification::notificationWithNameObjectUserInfo(std::string(name), object, std::move(userInfo)));
}

void NSNotificationCenter::deliver(const Ref<NSNotification>& notification) {
    // Dead registrations go first, so that an address reused by a new object cannot inherit an old registration.
    std::erase_if(m_registrations, [](const Registration& r) { return r.observer.expired(); });
    // Delivery works on a snapshot: an observer may register or remove others while it runs. A registration
    // removed meanwhile is not called; one added meanwhile waits for the next post.
    const auto snapshot = m_registrations;
    const NSObject* sender = notification->object().get();
    for (const auto& r : snapshot) {
        if (r.name && *r.name != notification->name()) continue;
        if (r.objectIdentity && (r.objectIdentity != sender || r.object.expired())) continue;
        auto still = std::find_if(m_registrations.begin(), m_registrations.end(),
                                  [&](const Registration& x) { return x.serial == r.serial; });
        if (still == m_registrations.end()) continue;
        auto observer = r.observer.lock();
        if (!observer) continue;
        platform::performAction(observer.get(), r.selector, notification);
    }
}

std::size_t NSNotificationCenter::observerCount() const {
    return static_cast<std::size_t>(std::count_if(m_registrations.begin(), m_registrations.end(),
                                                  [](const Registration& r) { return !r.observer.expired(); }));
}
