#pragma once

// The object run-time: classes by name, selectors, method tables, messaging and method replacement.
//
// A method is a plain function `R imp(NSObject* self, SEL cmd, A... args)`, as an IMP is on the device. Its C++
// signature is recorded with it, and every call, replacement and addition is checked against it: a mismatch is a
// RuntimeError at once, never undefined behaviour. Messages are dispatched through the class hierarchy, so a
// replacement installed on a class also acts on its subclasses that do not have their own entry.
//
// Classes that the platform compiles but the simulated process does not contain (the Settings classes inside
// SpringBoard) belong to a class group that is off until the host enables it; objc_getClass answers nothing for them.

#include "platform/core/Object.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace platform {

// Misuse of the run-time by our own code: an unknown selector sent with msgSend, a signature that does not match.
class RuntimeError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

namespace runtime {

using Factory = id (*)();
using AnyImp = void (*)();

// Interns a selector name ("tableView:didSelectRowAtIndexPath:"). Never fails; equal names give equal SELs.
SEL selector(std::string_view name);
std::string_view selectorName(SEL sel);

// Defines a class. Called once per class by VT_REGISTER_CLASS; `group` empty means "always present".
Class defineClass(std::string_view name, Class superclass, Factory factory, std::string_view group);
// Makes the classes of a group visible to objc_getClass (the host does this for the process it plays).
void enableClassGroup(std::string_view group);
void disableAllClassGroups();

std::string_view className(Class cls);
Class superclass(Class cls);
bool isSubclass(Class cls, Class ancestor);
// A new instance of a class, not yet initialised; nothing for a class without a factory or a null class.
id createInstance(Class cls);

struct Signature {
    std::type_index type;
    std::string encoding;  // "v@:" style, derived from the C++ types
};

// Adds or replaces the class's own entry for `sel`. Used by registration; replacement by tweaks goes through
// MSHookMessageEx so that it is recorded.
void setMethod(Class cls, SEL sel, AnyImp imp, const Signature& signature);
// The implementation that a message to an instance of `cls` reaches, with its signature; nothing when none.
struct Resolved {
    AnyImp imp;
    const Signature* signature;
};
std::optional<Resolved> resolve(Class cls, SEL sel);
// True when `cls` itself (not a superclass) has an entry.
bool hasOwnMethod(Class cls, SEL sel);

// Installed replacements and added methods, in order, as "Class selector" strings.
const std::vector<std::string>& hookLog();
// Hooks and additions refused (missing class or selector), counted for the simulator.
std::size_t refusedHookCount();
void clearHookLog();

// Instance variables reached by name. Objects hold their own storage; a class publishes a getter and setter.
using IvarGetter = id (*)(NSObject*);
using IvarSetter = void (*)(NSObject*, id);
void addIvar(Class cls, std::string_view name, IvarGetter getter, IvarSetter setter);

// ----- type encodings -----

template <class T>
struct Encoding {
    static std::string get() {
        using U = std::remove_cvref_t<T>;
        if constexpr (std::is_void_v<U>) return "v";
        else if constexpr (std::is_same_v<U, bool>) return "B";
        else if constexpr (std::is_same_v<U, SEL>) return ":";
        else if constexpr (std::is_same_v<U, char>) return "c";
        else if constexpr (std::is_same_v<U, int>) return "i";
        else if constexpr (std::is_same_v<U, unsigned>) return "I";
        else if constexpr (std::is_same_v<U, long> || std::is_same_v<U, long long>) return "q";
        else if constexpr (std::is_same_v<U, unsigned long> || std::is_same_v<U, unsigned long long>) return "Q";
        else if constexpr (std::is_same_v<U, float>) return "f";
        else if constexpr (std::is_same_v<U, double>) return "d";
        else if constexpr (std::is_pointer_v<U> && std::is_base_of_v<NSObject, std::remove_pointer_t<U>>) return "@";
        else return "?";
    }
};
template <class T>
struct Encoding<std::shared_ptr<T>> {
    static std::string get() { return "@"; }
};

template <class R, class... A>
Signature signatureOf() {
    std::string enc = Encoding<R>::get() + "@:";
    ((enc += Encoding<A>::get()), ...);
    return Signature{std::type_index(typeid(R (*)(NSObject*, SEL, A...))), enc};
}

[[noreturn]] void failMessage(NSObject* receiver, SEL sel, std::string_view why);

}  // namespace runtime

// Sends a message. A null receiver yields a value-initialised result, as a message to nil does on the device.
// An unknown selector or a call whose argument or result types differ from the method's is a RuntimeError.
template <class R = void, class... A>
R msgSend(NSObject* receiver, SEL sel, A... args) {
    if (!receiver) {
        if constexpr (std::is_void_v<R>) return;
        else return R{};
    }
    auto found = runtime::resolve(receiver->isa(), sel);
    if (!found) runtime::failMessage(receiver, sel, "unrecognized selector");
    using Fn = R (*)(NSObject*, SEL, A...);
    if (found->signature->type != std::type_index(typeid(Fn)))
        runtime::failMessage(receiver, sel, "called as " + runtime::signatureOf<R, A...>().encoding +
                                                " but implemented as " + found->signature->encoding);
    return reinterpret_cast<Fn>(found->imp)(receiver, sel, args...);
}

template <class R = void, class... A>
R msgSend(const id& receiver, SEL sel, A... args) {
    return msgSend<R, A...>(receiver.get(), sel, args...);
}

// Target-action and performSelector: call `sel` on `target` with no argument or with `argument` when the method
// takes one object. Answers false (and counts it) when the target is gone or does not implement `sel`.
bool performAction(NSObject* target, SEL sel, const id& argument = nullptr);
std::size_t unknownSelectorCount();

// Whether `object` is there and answers `selector`: the test before an optional delegate or data-source message.
bool responds(const id& object, std::string_view selector);

}  // namespace platform

// ----- the device's names -----

inline SEL NSSelectorFromString(std::string_view name) { return platform::runtime::selector(name); }
inline SEL sel(std::string_view name) { return platform::runtime::selector(name); }

// The class of that name in this process, or nothing.
Class objc_getClass(std::string_view name);

// Adds a method when the class has no entry of its own; answers false otherwise. The type string must describe the
// implementation's C++ signature ("v@:" for `void imp(NSObject*, SEL)`); a mismatch is a RuntimeError.
template <class R, class... A>
bool class_addMethod(Class cls, SEL sel, R (*imp)(NSObject*, SEL, A...), std::string_view types);
bool class_addMethodErased(Class cls, SEL sel, platform::runtime::AnyImp imp, const platform::runtime::Signature& sig,
                           std::string_view types);

template <class R, class... A>
bool class_addMethod(Class cls, SEL sel, R (*imp)(NSObject*, SEL, A...), std::string_view types) {
    return class_addMethodErased(cls, sel, reinterpret_cast<platform::runtime::AnyImp>(imp),
                                 platform::runtime::signatureOf<R, A...>(), types);
}

// Replaces the method `sel` of `cls` by `replacement` and stores the implementation it replaced in `*previous`.
// When `cls` inherits the method, the replacement becomes its own entry and the inherited one is the previous.
// A null class or a selector the class does not answer is refused: nothing changes and `*previous` becomes null.
// A replacement whose signature differs from the method's is a RuntimeError.
void MSHookMessageExErased(Class cls, SEL sel, platform::runtime::AnyImp replacement,
                           const platform::runtime::Signature& sig, platform::runtime::AnyImp* previous);

template <class R, class... A>
void MSHookMessageEx(Class cls, SEL sel, R (*replacement)(NSObject*, SEL, A...),
                     R (**previous)(NSObject*, SEL, A...)) {
    platform::runtime::AnyImp prev = nullptr;
    MSHookMessageExErased(cls, sel, reinterpret_cast<platform::runtime::AnyImp>(replacement),
                          platform::runtime::signatureOf<R, A...>(), &prev);
    *previous = reinterpret_cast<R (*)(NSObject*, SEL, A...)>(prev);
}

// The named instance variable: nothing when the class has none; a held null when it has one that is empty.
std::optional<id> object_getIvar(NSObject* object, std::string_view name);
// Sets the named instance variable; false when the class has none.
bool object_setIvar(NSObject* object, std::string_view name, id value);

// ----- registration helpers -----

namespace platform::runtime {

template <class T>
Factory factoryFor() {
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>)
        return []() -> id { return std::make_shared<T>(); };
    else
        return nullptr;
}

template <auto Member>
struct MethodThunk;

template <class T, class R, class... A, R (T::*Member)(A...)>
struct MethodThunk<Member> {
    static R call(NSObject* self, SEL, A... args) { return (static_cast<T*>(self)->*Member)(args...); }
    using Owner = T;
    static Signature signature() { return signatureOf<R, A...>(); }
};

template <class T, class R, class... A, R (T::*Member)(A...) const>
struct MethodThunk<Member> {
    static R call(NSObject* self, SEL, A... args) { return (static_cast<const T*>(self)->*Member)(args...); }
    using Owner = T;
    static Signature signature() { return signatureOf<R, A...>(); }
};

// Publishes a C++ member function as the run-time method `selectorName` of class `cls` (a class whose instances
// are all of the member's class). The call goes through
// C++ virtual dispatch, so a subclass's override of a virtual member is what runs, while a replacement installed
// with MSHookMessageEx on a class still intercepts every message sent to it and to its subclasses.
template <auto Member>
void addMethod(Class cls, std::string_view selectorName) {
    using Thunk = MethodThunk<Member>;
    setMethod(cls, selector(selectorName), reinterpret_cast<AnyImp>(&Thunk::call), Thunk::signature());
}

struct ClassRegistrar {
    explicit ClassRegistrar(Class (*classObject)()) { classObject(); }
};

}  // namespace platform::runtime

// In a source file, at namespace scope: defines Name::classObject() and registers the class when the library loads.
// The optional last argument is a function `void(Class)` run once, right after the class is defined, to publish its
// methods with addMethod<&Name::member>(cls, "selector:") and its instance variables with addIvar.
#define VT_REGISTER_CLASS_IN(Name, Group, ...)                                                                   \
    Class Name::classObject() {                                                                                   \
        static Class cls = [] {                                                                                   \
            Class c = ::platform::runtime::defineClass(Name::kClassName, Name::super::classObject(),              \
                                                       ::platform::runtime::factoryFor<Name>(), Group);           \
            __VA_OPT__(__VA_ARGS__(c);)                                                                           \
            return c;                                                                                             \
        }();                                                                                                      \
        return cls;                                                                                               \
    }                                                                                                             \
    static ::platform::runtime::ClassRegistrar vtRegistrar_##Name{&Name::classObject};

#define VT_REGISTER_CLASS(Name, ...) VT_REGISTER_CLASS_IN(Name, "", __VA_ARGS__)
