// The image picker's screen driven by touches: which items it offers for its media types, what a tap on a
// thumbnail hands the delegate, Cancel, and the activity indicator a delegate puts over it.
#include "platform/core/NSMutableDictionary.h"
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/media/UIImagePickerController.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class PickerDelegate : public NSObject {
    VT_OBJECT(PickerDelegate, NSObject)
public:
    void finished(Ref<UIImagePickerController>, Ref<NSMutableDictionary> info) { m_info = std::move(info); }
    void cancelled(Ref<UIImagePickerController>) { ++m_cancels; }
    Ref<NSMutableDictionary> m_info;
    int m_cancels = 0;
};

}  // namespace

VT_REGISTER_CLASS(PickerDelegate, [](Class c) {
    platform::runtime::addMethod<&PickerDelegate::finished>(c, "imagePickerController:didFinishPickingMediaWithInfo:");
    platform::runtime::addMethod<&PickerDelegate::cancelled>(c, "imagePickerControllerDidCancel:");
})

namespace {

class ImagePicker : public testing::Test {
protected:
    void SetUp() override {
        m_root.useAsDeviceRoot();
        const fs::path built = fs::path(VANTILE_BUILD_DIR) / "device/var/mobile/Media/DCIM";
        fs::create_directories(m_root.path() / "var/mobile/Media");
        fs::copy(built, m_root.path() / "var/mobile/Media/DCIM", fs::copy_options::recursive);
        m_window = alloc<UIWindow>();
        m_window->initWithFrame(UIScreen::mainScreen()->bounds());
        m_presenter = alloc<UIViewController>();
        m_presenter->init();
        m_window->setRootViewController(m_presenter);
        m_window->makeKeyAndVisible();
    }
    void TearDown() override {
        m_window->setRootViewController(nullptr);
        m_window = nullptr;
        UIApplication::sharedApplication()->reset();
        platform::AnimationCenter::shared().reset();
        platform::resetRunLoop();
    }
    Ref<UIImagePickerController> present(std::vector<std::string> types) {
        auto picker = alloc<UIImagePickerController>();
        picker->init();
        if (!types.empty()) picker->setMediaTypes(std::move(types));
        m_delegate = alloc<PickerDelegate>();
        picker->setDelegate(m_delegate);
        m_presenter->presentViewControllerAnimatedCompletion(picker, false);
        m_window->layoutIfNeeded();
        return picker;
    }
    void tapView(const Ref<UIView>& view) {
        const CGRect b = view->bounds();
        platform::TouchDriver(m_window).tap(view->convertPointToView({b.midX(), b.midY()}, m_window));
    }
    static std::vector<std::string> offered(const UIImagePickerController& picker) {
        std::vector<std::string> names;
        for (const auto& item : picker.shownItems()) names.push_back(item.name);
        return names;
    }

    testing_support::TemporaryRoot m_root{"picker"};
    Ref<UIWindow> m_window;
    Ref<UIViewController> m_presenter;
    Ref<PickerDelegate> m_delegate;
};

TEST_F(ImagePicker, MediaTypesChooseTheItemsOffered) {
    struct Case {
        std::vector<std::string> types;
        std::vector<std::string> names;
    };
    const std::vector<std::string> images{"IMG_0001.JPG", "IMG_0002.PNG", "IMG_0003.GIF", "IMG_0004.JPG"};
    const std::vector<Case> cases{
        {{}, images},
        {{"public.image", "public.movie"}, {"IMG_0001.JPG", "IMG_0002.PNG", "IMG_0003.GIF", "IMG_0004.JPG", "IMG_0005.MOV"}},
        {{"public.movie"}, {"IMG_0005.MOV"}},
        {{"public.text"}, {}},
    };
    for (const Case& c : cases) {
        auto picker = present(c.types);
        EXPECT_EQ(offered(*picker), c.names);
        for (const auto& name : c.names) EXPECT_TRUE(picker->thumbnailNamed(name)) << name;
        EXPECT_EQ(picker->navigationBar()->displayedTitle(), "Photos");
        m_presenter->dismissViewControllerAnimatedCompletion(false);
    }
}

TEST_F(ImagePicker, TapOnAThumbnailHandsTheDelegateItsReferenceURL) {
    auto picker = present({"public.image", "public.movie"});
    tapView(picker->thumbnailNamed("IMG_0002.PNG"));
    ASSERT_TRUE(m_delegate->m_info);
    auto url = cast<NSURL>(m_delegate->m_info->objectForKey(UIImagePickerControllerReferenceURL));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), "assets-library://asset/asset.PNG?id=IMG_0002&ext=PNG");
    auto image = cast<UIImage>(m_delegate->m_info->objectForKey(UIImagePickerControllerOriginalImage));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), CGSizeMake(400, 400));
    EXPECT_TRUE(m_presenter->presentedViewController()) << "the delegate dismisses, not the picker";

    m_delegate->m_info = nullptr;
    tapView(picker->thumbnailNamed("IMG_0005.MOV"));
    ASSERT_TRUE(m_delegate->m_info);
    auto movie = cast<NSURL>(m_delegate->m_info->objectForKey(UIImagePickerControllerMediaURL));
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->path(), "/var/mobile/Media/DCIM/100APPLE/IMG_0005.MOV");
}

TEST_F(ImagePicker, CancelAsksTheDelegateOrDismissesWithoutOne) {
    auto picker = present({});
    tapView(picker->navigationBar()->rightItemViews().at(0));
    EXPECT_EQ(m_delegate->m_cancels, 1);
    EXPECT_TRUE(m_presenter->presentedViewController());
    m_delegate = nullptr;  // the delegate is weak: gone, the picker dismisses itself
    tapView(picker->navigationBar()->rightItemViews().at(0));
    platform::RunLoop::main().advance(1);
    EXPECT_FALSE(m_presenter->presentedViewController());
}

TEST(ActivityIndicator, HiddenWhenStoppedUnlessAskedOtherwise) {
    auto indicator = alloc<UIActivityIndicatorView>();
    indicator->initWithActivityIndicatorStyle(UIActivityIndicatorViewStyleWhiteLarge);
    EXPECT_EQ(indicator->frame().size, CGSizeMake(37, 37));
    EXPECT_TRUE(indicator->isHidden());
    indicator->startAnimating();
    EXPECT_TRUE(indicator->isAnimating());
    EXPECT_FALSE(indicator->isHidden());
    indicator->stopAnimating();
    EXPECT_TRUE(indicator->isHidden());
    indicator->setHidesWhenStopped(false);
    EXPECT_FALSE(indicator->isHidden());
    CGFloat white = 0, alpha = 0;
    EXPECT_TRUE(indicator->color()->getWhiteAlpha(&white, &alpha));
    EXPECT_EQ(white, 1);
}

}  // namespace
