#pragma once

// The object model of the stand-in frameworks.
//
// Objects are reference counted through std::shared_ptr, as on the device: `Ref<T>` is a strong reference and
// `Weak<T>` a weak one. Every class that the run-time must know by name (hook targets, classes named in plists,
// reuse identifiers, targets of target-action) declares itself with VT_OBJECT in its body and VT_REGISTER_CLASS in
// its source file; its methods that are looked up by selector are registered with the run-time (Runtime.h).
//
// Objects are created in two phases, like alloc/init on the device: `alloc<T>()` makes the object, then an init
// method of the class (`initWithFrame(...)`) builds it. Init methods may use `self<T>()`, which a constructor cannot.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct objc_class;
struct objc_selector;
using Class = objc_class*;
using SEL = const objc_selector*;

class NSObject;

template <class T>
using Ref = std::shared_ptr<T>;
template <class T>
using Weak = std::weak_ptr<T>;
using id = Ref<NSObject>;

namespace platform {
// Number of NSObject instances alive in the process. Tests use it to prove that pages, cards and timers are freed.
std::size_t liveObjectCount();
}  // namespace platform

#define VT_OBJECT(Name, Super)                                               \
public:                                                                      \
    using super = Super;                                                     \
    static constexpr std::string_view kClassName = #Name;                    \
    static Class classObject();                                              \
    Class isa() const override { return classObject(); }

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    static constexpr std::string_view kClassName = "NSObject";
    static Class classObject();
    virtual Class isa() const { return classObject(); }

    NSObject();
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject();

    // The run-time class name of the receiver.
    std::string_view className() const;
    // True when the receiver's class or one of its superclasses implements `selector` (run-time methods only).
    bool respondsToSelector(SEL selector) const;
    bool isKindOfClass(Class cls) const;

    // A strong reference to the receiver as T; nothing when the receiver is not a T or is being destroyed.
    template <class T = NSObject>
    Ref<T> self() {
        return std::dynamic_pointer_cast<T>(weak_from_this().lock());
    }
    template <class T = NSObject>
    Ref<const T> self() const {
        return std::dynamic_pointer_cast<const T>(weak_from_this().lock());
    }
    template <class T = NSObject>
    Weak<T> weakSelf() {
        return self<T>();
    }

    // A short human-readable description for dumps and error messages.
    virtual std::string description() const;
};

// First phase of object creation. The object exists but is not initialised.
template <class T>
Ref<T> alloc() {
    return std::make_shared<T>();
}

// A view of a strong reference as another class, nothing when it is not one.
template <class T, class U>
Ref<T> cast(const Ref<U>& object) {
    return std::dynamic_pointer_cast<T>(object);
}
