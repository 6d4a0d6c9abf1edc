#pragma once

// Helpers for the view-core tests: a window stand-in, views with a chosen own size, and a fixture that puts the
// process-wide state (clock, animations, screen, appearance) back after each test.

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIView.h"

#include <gtest/gtest.h>

class TestWindow : public UIView {
    VT_OBJECT(TestWindow, UIView)
public:
    bool isWindow() const override { return true; }
};

// A view with an own size, as a label or an image view has.
class SizedView : public UIView {
    VT_OBJECT(SizedView, UIView)
public:
    CGSize own{UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
    CGSize intrinsicContentSize() override { return own; }
};

namespace vtest {

inline Ref<UIView> makeView(CGRect frame = CGRectZero) {
    auto v = alloc<UIView>();
    v->initWithFrame(frame);
    return v;
}

inline Ref<TestWindow> makeWindow(CGRect frame = CGRectMake(0, 0, 375, 667)) {
    auto w = alloc<TestWindow>();
    w->initWithFrame(frame);
    return w;
}

inline Ref<SizedView> makeSized(CGFloat w, CGFloat h) {
    auto v = alloc<SizedView>();
    v->initWithFrame(CGRectZero);
    v->own = {w, h};
    return v;
}

// A view constrained by anchors (translatesAutoresizingMaskIntoConstraints off), added to `parent`.
template <class V = UIView>
Ref<V> addConstrained(const Ref<UIView>& parent, Ref<V> view = nullptr) {
    if (!view) {
        view = alloc<V>();
        view->initWithFrame(CGRectZero);
    }
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    parent->addSubview(view);
    return view;
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }
    static void resetAll() {
        platform::AnimationCenter::shared().reset();
        platform::resetRunLoop();
        UIScreen::resetDeviceProfile();
        UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
        UITraitCollection::setCurrentTraitCollection(nullptr);
        UIView::setAnimationsEnabled(true);
    }
};

inline void expectRect(CGRect actual, CGRect expected, const char* what) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-6) << what << " x: " << actual;
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-6) << what << " y: " << actual;
    EXPECT_NEAR(actual.width(), expected.width(), 1e-6) << what << " width: " << actual;
    EXPECT_NEAR(actual.height(), expected.height(), 1e-6) << what << " height: " << actual;
}

}  // namespace vtest
