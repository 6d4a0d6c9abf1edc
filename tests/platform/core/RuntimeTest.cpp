#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

namespace {

class TestBase : public NSObject {
    VT_OBJECT(TestBase, NSObject)
public:
    virtual int value(int x) { return x + 1; }
    void ping() { ++pings; }
    int pings = 0;
    id held;
};

class TestDerived : public TestBase {
    VT_OBJECT(TestDerived, TestBase)
public:
    int value(int x) override { return x + 100; }
};

class TestHidden : public NSObject {
    VT_OBJECT(TestHidden, NSObject)
};

}  // namespace

VT_REGISTER_CLASS(TestBase, [](Class c) {
    platform::runtime::addMethod<&TestBase::value>(c, "value:");
    platform::runtime::addMethod<&TestBase::ping>(c, "ping");
    platform::runtime::addIvar(
        c, "_held", [](NSObject* o) { return static_cast<TestBase*>(o)->held; },
        [](NSObject* o, id v) { static_cast<TestBase*>(o)->held = std::move(v); });
})
VT_REGISTER_CLASS(TestDerived)
VT_REGISTER_CLASS_IN(TestHidden, "TestGroup")

namespace {

int (*g_previousValue)(NSObject*, SEL, int) = nullptr;
int hookedValue(NSObject* self, SEL cmd, int x) { return g_previousValue(self, cmd, x) * 2; }

TEST(Runtime, ClassesByNameAndGroups) {
    EXPECT_EQ(objc_getClass("TestBase"), TestBase::classObject());
    EXPECT_EQ(platform::runtime::superclass(TestDerived::classObject()), TestBase::classObject());
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
    EXPECT_EQ(objc_getClass("TestHidden"), nullptr);
    platform::runtime::enableClassGroup("TestGroup");
    EXPECT_EQ(objc_getClass("TestHidden"), TestHidden::classObject());
    platform::runtime::disableAllClassGroups();
    EXPECT_EQ(objc_getClass("TestHidden"), nullptr);
    id made = platform::runtime::createInstance(objc_getClass("TestDerived"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->className(), "TestDerived");
}

TEST(Runtime, HookReachesSubclassesAndCallsThrough) {
    auto base = alloc<TestBase>();
    auto derived = alloc<TestDerived>();
    SEL value = sel("value:");
    EXPECT_EQ(platform::msgSend<int>(base, value, 1), 2);
    EXPECT_EQ(platform::msgSend<int>(derived, value, 1), 101);
    MSHookMessageEx(TestDerived::classObject(), value, &hookedValue, &g_previousValue);
    ASSERT_NE(g_previousValue, nullptr);
    EXPECT_EQ(platform::msgSend<int>(derived, value, 1), 202);
    EXPECT_EQ(platform::msgSend<int>(base, value, 1), 2) << "a hook on a subclass leaves the superclass alone";
    EXPECT_EQ(platform::runtime::hookLog().back(), "TestDerived value:");
}

TEST(Runtime, MisuseIsALoudError) {
    auto base = alloc<TestBase>();
    EXPECT_THROW(platform::msgSend<int>(base, sel("value:"), 1.5), platform::RuntimeError);
    EXPECT_THROW(platform::msgSend<void>(base, sel("noSuchSelector")), platform::RuntimeError);
    void (*prev)(NSObject*, SEL) = nullptr;
    EXPECT_THROW(MSHookMessageEx(TestBase::classObject(), sel("value:"),
                                 +[](NSObject*, SEL) {}, &prev),
                 platform::RuntimeError);
    EXPECT_THROW(class_addMethod(TestBase::classObject(), sel("extra"), +[](NSObject*, SEL) {}, "v@:@"),
                 platform::RuntimeError);
}

TEST(Runtime, AbsentClassOrSelectorIsRefusedQuietly) {
    std::size_t before = platform::runtime::refusedHookCount();
    int (*prev)(NSObject*, SEL, int) = &hookedValue;
    MSHookMessageEx(objc_getClass("Missing"), sel("value:"), &hookedValue, &prev);
    EXPECT_EQ(prev, nullptr);
    MSHookMessageEx(TestBase::classObject(), sel("notThere:"), &hookedValue, &prev);
    EXPECT_EQ(platform::runtime::refusedHookCount(), before + 2);
    EXPECT_EQ(platform::msgSend<int>(static_cast<NSObject*>(nullptr), sel("value:"), 3), 0);
}

TEST(Runtime, AddedMethodsAndActionsByName) {
    auto base = alloc<TestBase>();
    EXPECT_FALSE(base->respondsToSelector(sel("deployThing")));
    static int calls = 0;
    EXPECT_TRUE(class_addMethod(TestBase::classObject(), sel("deployThing"),
                                +[](NSObject*, SEL) { ++calls; }, "v@:"));
    EXPECT_FALSE(class_addMethod(TestBase::classObject(), sel("deployThing"), +[](NSObject*, SEL) {}, "v@:"));
    EXPECT_TRUE(platform::performAction(base.get(), sel("deployThing")));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(platform::performAction(base.get(), sel("ping")));
    EXPECT_EQ(base->pings, 1);
    EXPECT_FALSE(platform::performAction(base.get(), sel("unknownAction")));
}

TEST(Runtime, InstanceVariablesByName) {
    auto base = alloc<TestDerived>();
    EXPECT_FALSE(object_getIvar(base.get(), "_missing").has_value());
    auto held = object_getIvar(base.get(), "_held");
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(*held, nullptr);
    auto other = alloc<TestBase>();
    EXPECT_TRUE(object_setIvar(base.get(), "_held", other));
    EXPECT_EQ(*object_getIvar(base.get(), "_held"), other);
}

}  // namespace
