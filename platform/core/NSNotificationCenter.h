#pragma once

// The in-process notification centre. Delivery is synchronous: every matching observer has run before
// postNotificationNameObject returns, in registration order. Observers are held weakly, as on the device since
// iOS 9: an observer that has been released is never called, and its registrations are pruned when met.
//
// Registering the same observer, selector, name and object twice delivers twice per post; removeObserver drops
// every registration of the observer.

#include "platform/core/NSNotification.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSNotificationCenter : public NSObject {
    VT_OBJECT(NSNotificationCenter, NSObject)
public:
    // The process's centre; never null.
    static Ref<NSNotificationCenter> defaultCenter();

    // At each post of `name` (every name when nothing is given) by `object` (any sender when null), calls
    // `selector` on `observer` through platform::performAction with the NSNotification, so the method may take it
    // (`void(NSObject*, SEL, id)`) or nothing. The observer and the object are not retained. A null observer or
    // selector registers nothing.
    void addObserverSelectorNameObject(const id& observer, SEL selector, std::optional<std::string> name,
                                       const id& object);
    // Drops every registration of `observer`.
    void removeObserver(const id& observer);
    // Drops the registrations of `observer` for `name` (all names when nothing) and `object` (all when null).
    void removeObserverNameObject(const id& observer, std::optional<std::string_view> name, const id& object);

    // Delivers to the matching live observers, then returns. Recorded in platform::notificationRecords().
    void postNotificationNameObject(std::string_view name, const id& object);
    void postNotificationNameObjectUserInfo(std::string_view name, const id& object, Value userInfo);

    // Registrations whose observer is still alive.
    std::size_t observerCount() const;

private:
    struct Registration {
        std::uint64_t serial;
        Weak<NSObject> observer;
        const NSObject* observerIdentity;
        SEL selector;
        std::optional<std::string> name;
        Weak<NSObject> object;
        const NSObject* objectIdentity;  // null: any sender
    };
    void deliver(const Ref<NSNotification>& notification);

    std::vector<Registration> m_registrations;
    std::uint64_t m_nextSerial = 1;
};
