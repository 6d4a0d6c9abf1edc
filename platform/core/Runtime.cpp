#include "platform/core/Runtime.h"

#include "platform/core/ClassImage.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

struct objc_selector {
    std::string name;
};

struct objc_class {
    std::string name;
    Class superclass = nullptr;
    platform::runtime::Factory factory = nullptr;
    std::string group;
    std::string image;
    std::unordered_map<SEL, std::pair<platform::runtime::AnyImp, platform::runtime::Signature>> methods;
    std::map<std::string, std::pair<platform::runtime::IvarGetter, platform::runtime::IvarSetter>, std::less<>> ivars;
    // Resolution cache, valid while its generation equals the registry's.
    mutable std::unordered_map<SEL, std::optional<platform::runtime::Resolved>> cache;
    mutable std::uint64_t cacheGeneration = 0;
};

namespace platform {
namespace {

std::atomic<std::size_t> g_liveObjects{0};
std::atomic<std::size_t> g_unknownSelectors{0};

// Selector names are looked up on every message sent by name; hashing the view directly spares building a string.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};

struct Registry {
    std::shared_mutex mutex;
    std::unordered_map<std::string, std::unique_ptr<objc_selector>, NameHash, std::equal_to<>> selectors;
    std::map<std::string, std::unique_ptr<objc_class>, std::less<>> classes;
    std::map<std::string, bool, std::less<>> enabledGroups;
    std::uint64_t generation = 1;
    std::vector<std::string> hookLog;
    std::size_t refusedHooks = 0;
    std::string loadingImage;
    std::vector<objc_class*> definitionOrder;
};

Registry& registry() {
    static Registry* r = new Registry;  // never destroyed: objects may message during static destruction
    return *r;
}

bool visible(const Registry& r, const objc_class* cls) {
    if (cls->group.empty()) return true;
    auto it = r.enabledGroups.find(cls->group);
    return it != r.enabledGroups.end() && it->second;
}

std::optional<runtime::Resolved> resolveLocked(const objc_class* cls, SEL sel) {
    for (const objc_class* c = cls; c; c = c->superclass) {
        auto it = c->methods.find(sel);
        if (it != c->methods.end()) return runtime::Resolved{it->second.first, &it->second.second};
    }
    return std::nullopt;
}

}  // namespace

std::size_t liveObjectCount() { return g_liveObjects.load(); }
std::size_t unknownSelectorCount() { return g_unknownSelectors.load(); }

namespace runtime {

SEL selector(std::string_view name) {
    Registry& r = registry();
    {
        std::shared_lock lock(r.mutex);
        auto it = r.selectors.find(name);
        if (it != r.selectors.end()) return it->second.get();
    }
    std::unique_lock lock(r.mutex);
    auto& slot = r.selectors[std::string(name)];
    if (!slot) slot = std::make_unique<objc_selector>(objc_selector{std::string(name)});
    return slot.get();
}

std::string_view selectorName(SEL sel) { return sel ? std::string_view(sel->name) : std::string_view(); }

Class defineClass(std::string_view name, Class superclass, Factory factory, std::string_view group) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    auto& slot = r.classes[std::string(name)];
    if (slot) throw RuntimeError("class " + std::string(name) + " defined twice");
    slot = std::make_unique<objc_class>();
    slot->name = std::string(name);
    slot->superclass = superclass;
    slot->factory = factory;
    slot->group = std::string(group);
    slot->image = r.loadingImage;
    r.definitionOrder.push_back(slot.get());
    ++r.generation;
    return slot.get();
}

void beginImageLoad(std::string image) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.loadingImage = std::move(image);
}

void endImageLoad() {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.loadingImage.clear();
}

std::string imageOfClass(Class cls) {
    if (!cls) return {};
    Registry& r = registry();
    std::shared_lock lock(r.mutex);
    return cls->image;
}

std::vector<Class> classesOfImage(std::string_view image) {
    std::vector<Class> found;
    if (image.empty()) return found;
    Registry& r = registry();
    std::shared_lock lock(r.mutex);
    for (objc_class* c : r.definitionOrder)
        if (c->image == image) found.push_back(c);
    return found;
}

void setImageOfClass(Class cls, std::string image) {
    if (!cls) return;
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    cls->image = std::move(image);
}

void enableClassGroup(std::string_view group) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.enabledGroups[std::string(group)] = true;
}

void disableAllClassGroups() {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.enabledGroups.clear();
}

std::string_view className(Class cls) { return cls ? std::string_view(cls->name) : std::string_view("nil"); }
Class superclass(Class cls) { return cls ? cls->superclass : nullptr; }

bool isSubclass(Class cls, Class ancestor) {
    for (Class c = cls; c; c = c->superclass)
        if (c == ancestor) return true;
    return false;
}

id createInstance(Class cls) {
    if (!cls || !cls->factory) return nullptr;
    return cls->factory();
}

void setMethod(Class cls, SEL sel, AnyImp imp, const Signature& signature) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    cls->methods.insert_or_assign(sel, std::make_pair(imp, signature));
    ++r.generation;
}

std::optional<Resolved> resolve(Class cls, SEL sel) {
    if (!cls) return std::nullopt;
    Registry& r = registry();
    std::shared_lock lock(r.mutex);
    if (cls->cacheGeneration == r.generation) {
        auto it = cls->cache.find(sel);
        if (it != cls->cache.end()) return it->second;
    }
    auto found = resolveLocked(cls, sel);
    lock.unlock();
    // The cache is refilled under the exclusive lock so that readers on other threads never see it half-written.
    std::unique_lock write(r.mutex);
    if (cls->cacheGeneration != r.generation) {
        cls->cache.clear();
        cls->cacheGeneration = r.generation;
    }
    cls->cache[sel] = found;
    return found;
}

bool hasOwnMethod(Class cls, SEL sel) {
    if (!cls) return false;
    Registry& r = registry();
    std::shared_lock lock(r.mutex);
    return cls->methods.count(sel) != 0;
}

const std::vector<std::string>& hookLog() { return registry().hookLog; }
std::size_t refusedHookCount() { return registry().refusedHooks; }

void clearHookLog() {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.hookLog.clear();
    r.refusedHooks = 0;
}

void addIvar(Class cls, std::string_view name, IvarGetter getter, IvarSetter setter) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    cls->ivars.insert_or_assign(std::string(name), std::make_pair(getter, setter));
}

void failMessage(NSObject* receiver, SEL sel, std::string_view why) {
    std::string message = "-[";
    message += receiver ? std::string(receiver->className()) : "nil";
    message += " ";
    message += selectorName(sel);
    message += "]: ";
    message += why;
    throw RuntimeError(message);
}

}  // namespace runtime

bool responds(const id& object, std::string_view selector) {
    return object && object->respondsToSelector(runtime::selector(selector));
}

bool performAction(NSObject* target, SEL sel, const id& argument) {
    if (!target) return false;
    auto found = runtime::resolve(target->isa(), sel);
    if (!found) {
        ++g_unknownSelectors;
        return false;
    }
    using NoArg = void (*)(NSObject*, SEL);
    using ObjectArg = void (*)(NSObject*, SEL, id);
    if (found->signature->type == std::type_index(typeid(NoArg))) {
        reinterpret_cast<NoArg>(found->imp)(target, sel);
        return true;
    }
    if (found->signature->type == std::type_index(typeid(ObjectArg))) {
        reinterpret_cast<ObjectArg>(found->imp)(target, sel, argument);
        return true;
    }
    runtime::failMessage(target, sel, "action implemented as " + found->signature->encoding +
                                          ", expected v@: or v@:@");
}

}  // namespace platform

using namespace platform;

NSObject::NSObject() { ++g_liveObjects; }
NSObject::~NSObject() { --g_liveObjects; }

Class NSObject::classObject() {
    static Class cls = runtime::defineClass("NSObject", nullptr, runtime::factoryFor<NSObject>(), "");
    return cls;
}
static runtime::ClassRegistrar vtRegistrar_NSObject{&NSObject::classObject};

std::string_view NSObject::className() const { return runtime::className(isa()); }

bool NSObject::respondsToSelector(SEL selector) const { return runtime::resolve(isa(), selector).has_value(); }

bool NSObject::isKindOfClass(Class cls) const { return runtime::isSubclass(isa(), cls); }

std::string NSObject::description() const { return "<" + std::string(className()) + ">"; }

Class objc_getClass(std::string_view name) {
    Registry& r = registry();
    std::shared_lock lock(r.mutex);
    auto it = r.classes.find(name);
    if (it == r.classes.end() || !visible(r, it->second.get())) return nullptr;
    return it->second.get();
}

bool class_addMethodErased(Class cls, SEL sel, runtime::AnyImp imp, const runtime::Signature& sig,
                           std::string_view types) {
    Registry& r = registry();
    if (!cls) {
        std::unique_lock lock(r.mutex);
        ++r.refusedHooks;
        return false;
    }
    if (types != sig.encoding)
        throw RuntimeError("class_addMethod " + std::string(runtime::selectorName(sel)) + ": type string \"" +
                           std::string(types) + "\" does not describe the implementation (" + sig.encoding + ")");
    std::unique_lock lock(r.mutex);
    if (cls->methods.count(sel)) return false;
    cls->methods.emplace(sel, std::make_pair(imp, sig));
    ++r.generation;
    r.hookLog.push_back(cls->name + " " + std::string(runtime::selectorName(sel)));
    return true;
}

void MSHookMessageExErased(Class cls, SEL sel, runtime::AnyImp replacement, const runtime::Signature& sig,
                           runtime::AnyImp* previous) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    *previous = nullptr;
    if (!cls) {
        ++r.refusedHooks;
        return;
    }
    auto found = resolveLocked(cls, sel);
    if (!found) {
        ++r.refusedHooks;
        return;
    }
    if (found->signature->type != sig.type)
        throw RuntimeError("MSHookMessageEx " + cls->name + " " + std::string(runtime::selectorName(sel)) +
                           ": replacement is " + sig.encoding + " but the method is " + found->signature->encoding);
    *previous = found->imp;
    cls->methods.insert_or_assign(sel, std::make_pair(replacement, *found->signature));
    ++r.generation;
    r.hookLog.push_back(cls->name + " " + std::string(runtime::selectorName(sel)));
}

std::optional<id> object_getIvar(NSObject* object, std::string_view name) {
    if (!object) return std::nullopt;
    runtime::IvarGetter getter = nullptr;
    {
        Registry& r = registry();
        std::shared_lock lock(r.mutex);
        for (Class c = object->isa(); c && !getter; c = c->superclass) {
            auto it = c->ivars.find(name);
            if (it != c->ivars.end()) getter = it->second.first;
        }
    }
    if (!getter) return std::nullopt;
    return getter(object);
}

bool object_setIvar(NSObject* object, std::string_view name, id value) {
    if (!object) return false;
    runtime::IvarSetter setter = nullptr;
    {
        Registry& r = registry();
        std::shared_lock lock(r.mutex);
        for (Class c = object->isa(); c && !setter; c = c->superclass) {
            auto it = c->ivars.find(name);
            if (it != c->ivars.end()) setter = it->second.second;
        }
    }
    if (!setter) return false;
    setter(object, std::move(value));
    return true;
}
