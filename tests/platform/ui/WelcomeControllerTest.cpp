// The welcome sheet: its header, bulleted items and tray, laid out as a user reads them, and presented as a sheet
// that only its own button closes.
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/OBWelcomeController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::msgSend;

const char* const kSymbols[] = {"timer", "square.stack.fill", "sidebar.left", "circle.grid.3x3.fill",
                                "person.crop.circle", "list.bullet.indent", "rectangle.grid.1x2.fill",
                                "ellipsis.circle.fill", "smiley"};

class WelcomeControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        UIScreen::resetDeviceProfile();
    }
    void TearDown() override {
        if (window) window->setRootViewController(nullptr);
        UIApplication::sharedApplication()->reset();
        platform::AnimationCenter::shared().reset();
        platform::resetRunLoop();
    }
    static Ref<OBWelcomeController> guide(std::size_t items, const std::string& description) {
        auto controller = alloc<OBWelcomeController>();
        controller->initWithTitleDetailTextIcon("User Guide", "A walk through", UIImage::systemImageNamed("gear"));
        for (std::size_t i = 0; i < items; ++i)
            controller->addBulletedListItemWithTitleDescriptionImage("Item " + std::to_string(i), description,
                                                                     UIImage::systemImageNamed(kSymbols[i % 9]));
        return controller;
    }
    void present(const Ref<UIViewController>& sheet) {
        auto host = alloc<UIViewController>();
        host->init();
        window = alloc<UIWindow>();
        window->initWithFrame(UIScreen::mainScreen()->bounds());
        window->setRootViewController(host);
        window->makeKeyAndVisible();
        host->presentViewControllerAnimatedCompletion(sheet, false);
        window->layoutIfNeeded();
        platform::RunLoop::main().drain();
    }
    Ref<UIWindow> window;
};

TEST_F(WelcomeControllerTest, EveryPublishedCallReachesTheSheet) {
    auto sheet = alloc<OBWelcomeController>();
    msgSend<void>(sheet, sel("initWithTitle:detailText:icon:"), std::string("Title"), std::string("Detail"),
                  Ref<UIImage>());
    for (const char* symbol : kSymbols)
        msgSend<void>(sheet, sel("addBulletedListItemWithTitle:description:image:"), std::string(symbol),
                      std::string("about ") + symbol, UIImage::systemImageNamed(symbol));
    auto tray = msgSend<Ref<OBButtonTray>>(sheet, sel("buttonTray"));
    ASSERT_TRUE(tray);
    auto button = OBBoldTrayButton::buttonWithType(1);
    msgSend<void>(tray, sel("addButton:"), Ref<UIButton>(button));
    msgSend<void>(tray, sel("addCaptionText:"), std::string("Thanks"));
    auto effect = msgSend<Ref<UIVisualEffectView>>(tray, sel("effectView"));
    ASSERT_TRUE(effect);
    EXPECT_FALSE(effect->effect()) << "the tray has no backdrop until one is set";
    effect->setEffect(UIBlurEffect::effectWithStyle(11));

    EXPECT_EQ(sheet->headerTitle(), "Title");
    EXPECT_FALSE(sheet->icon());
    ASSERT_EQ(sheet->bulletedItems().size(), 9u);
    ASSERT_EQ(sheet->itemViews().size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(sheet->itemViews()[i].title->text(), kSymbols[i]);
        EXPECT_EQ(sheet->itemViews()[i].description->text(), std::string("about ") + kSymbols[i]);
        ASSERT_TRUE(sheet->itemViews()[i].symbol->image()) << kSymbols[i] << " is a symbol the sheet can show";
        EXPECT_TRUE(sheet->itemViews()[i].symbol->image()->isTemplate()) << "drawn in the tint";
    }
    EXPECT_EQ(tray->buttons().size(), 1u);
    ASSERT_EQ(tray->captionLabels().size(), 1u);
    EXPECT_EQ(tray->captionLabels()[0]->text(), "Thanks");
    EXPECT_TRUE(sheet->iconView()->isHidden()) << "no icon, no picture in the header";
}

TEST_F(WelcomeControllerTest, HeaderItemsAndTrayReadFromTopToBottom) {
    auto sheet = guide(3, "A short line.");
    auto close = OBBoldTrayButton::buttonWithType(1);
    close->setTitleForState("Close", UIControlStateNormal);
    sheet->buttonTray()->addButton(close);
    sheet->buttonTray()->addCaptionText("Thank you");
    present(sheet);

    const CGRect bounds = sheet->view()->bounds();
    auto below = [](const Ref<UIView>& upper, const Ref<UIView>& lower) {
        return upper->frame().maxY() <= lower->frame().minY() + 0.5;
    };
    EXPECT_TRUE(below(sheet->iconView(), sheet->headerTitleLabel()));
    EXPECT_TRUE(below(sheet->headerTitleLabel(), sheet->detailLabel()));
    EXPECT_TRUE(below(sheet->detailLabel(), sheet->itemViews()[0].title));
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& item = sheet->itemViews()[i];
        EXPECT_TRUE(below(item.title, item.description)) << i;
        EXPECT_LT(item.symbol->frame().maxX(), item.title->frame().minX()) << "the symbol leads its text";
        if (i > 0) {
            EXPECT_TRUE(below(sheet->itemViews()[i - 1].description, item.title)) << i;
        }
    }
    EXPECT_DOUBLE_EQ(sheet->iconView()->frame().midX(), bounds.width() / 2) << "the icon is centred";
    EXPECT_GE(sheet->headerTitleLabel()->font()->pointSize(), 28) << "a large title";

    // The tray sits on the bottom edge, its button full width less the margins, the caption under it.
    auto tray = sheet->buttonTray();
    EXPECT_DOUBLE_EQ(tray->frame().maxY(), bounds.height());
    EXPECT_DOUBLE_EQ(close->frame().height(), OBBoldTrayButton::kHeight);
    EXPECT_DOUBLE_EQ(close->frame().minX(), bounds.width() - close->frame().maxX());
    EXPECT_GT(close->frame().width(), bounds.width() * 0.8);
    EXPECT_TRUE(below(close, tray->captionLabels()[0]));
    EXPECT_DOUBLE_EQ(tray->effectView()->frame().size.height, tray->bounds().height());
    EXPECT_LE(sheet->contentView()->frame().maxY(), tray->frame().minY() + 0.5) << "the items never run under the tray";
}

TEST_F(WelcomeControllerTest, ASheetPresentedByAPushedPageIsLaidOut) {
    // As the pane presents its guide: from a page inside a navigation controller, not from the window's root.
    auto page = alloc<UIViewController>();
    page->init();
    auto navigation = alloc<UINavigationController>();
    navigation->initWithRootViewController(page);
    window = alloc<UIWindow>();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    auto sheet = guide(3, "A line");
    page->presentViewControllerAnimatedCompletion(sheet, false);
    window->layoutIfNeeded();
    EXPECT_GT(sheet->headerTitleLabel()->frame().width(), 0);
    EXPECT_GT(sheet->buttonTray()->frame().height(), 0);
    EXPECT_GT(sheet->contentView()->contentSize().height, sheet->itemViews().back().title->frame().minY());
}

TEST_F(WelcomeControllerTest, ALongGuideScrollsAboveTheTray) {
    struct Case {
        std::size_t items;
        bool scrolls;
    };
    const std::string paragraph(400, 'x');
    for (const auto& c : {Case{1, false}, Case{9, true}}) {
        auto sheet = guide(c.items, c.items == 1 ? "short" : paragraph + " " + paragraph);
        present(sheet);
        auto scroll = sheet->contentView();
        EXPECT_EQ(scroll->maximumContentOffset().y > 0, c.scrolls) << c.items;
        EXPECT_GE(scroll->contentSize().height, sheet->itemViews().back().description->frame().maxY()) << c.items;
        window->setRootViewController(nullptr);
    }
}

TEST_F(WelcomeControllerTest, SymbolsAndTheBoldButtonTakeTheSheetsTint) {
    auto sheet = guide(9, "d");
    auto close = OBBoldTrayButton::buttonWithType(1);
    sheet->buttonTray()->addButton(close);
    auto accent = UIColor::colorWithRedGreenBlueAlpha(0.55, 0.3, 0.9, 1);
    sheet->view()->setTintColor(accent);
    present(sheet);
    for (const auto& item : sheet->itemViews()) EXPECT_TRUE(item.symbol->tintColor()->isEqual(*accent));
    ASSERT_TRUE(close->backgroundColor());
    EXPECT_TRUE(close->backgroundColor()->isEqual(*accent)) << "the button's fill is the tint";
    EXPECT_TRUE(close->currentTitleColor()->isEqual(*UIColor::whiteColor()));

    // A button made outside the sheet fills with the system blue until it sits in a tinted view.
    auto loose = OBBoldTrayButton::buttonWithType(0);
    EXPECT_TRUE(loose->backgroundColor()->isEqual(*UIColor::systemBlueColor()));
}

TEST_F(WelcomeControllerTest, AModalPageSheetStaysUntilItsButtonDismissesIt) {
    auto sheet = guide(2, "d");
    sheet->setModalPresentationStyle(UIModalPresentationPageSheet);
    sheet->setModalInPresentation(true);
    present(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(sheet->userSwipeToDismiss());
    EXPECT_TRUE(sheet->isVisible());
    sheet->dismissViewControllerAnimatedCompletion(false);
    platform::RunLoop::main().drain();
    EXPECT_FALSE(sheet->presentingViewController());
}

}  // namespace
