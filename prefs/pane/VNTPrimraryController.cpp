#include "prefs/pane/VNTPrimraryController.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSFileManager.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/HBAppearanceSettings.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/OBWelcomeController.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIVisualEffectView.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/pane/PageTitles.h"

#include <array>
#include <cmath>

VT_REGISTER_CLASS(VNTPrimraryController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTPrimraryController::openController>(c, "openController:");
    addMethod<&VNTPrimraryController::openUserGuideController>(c, "openUserGuideController:");
    addMethod<&VNTPrimraryController::toggleState>(c, "toggleState");
    addMethod<&VNTPrimraryController::closeUserGuide>(c, "closeUserGuide");
    addMethod<&VNTPrimraryController::setEnableSwitchState>(c, "setEnableSwitchState");
    addMethod<&VNTPrimraryController::isFirstTime>(c, "isFirstTime");
    addMethod<&VNTPrimraryController::setupDrawer>(c, "setupDrawer");
    addMethod<&VNTPrimraryController::drawerSegmentControl>(c, "drawerSegmentControl:");
    addMethod<&VNTPrimraryController::launchTwitterHandler>(c, "launchTwitterHandler:");
    addMethod<&VNTPrimraryController::openChangelogController>(c, "openChangelogController:");
    addMethod<&VNTPrimraryController::updateBanner>(c, "updateBanner");
    addMethod<&VNTPrimraryController::scrollViewDidScroll>(c, "scrollViewDidScroll:");
})

using platform::msgSend;

namespace {

// The bound variables are declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_themeFlags;
Value g_profileName;
Ref<HBPreferences> g_preferences;
Ref<UIImpactFeedbackGenerator> g_mainHapticFeedback;
Ref<OBWelcomeController> g_userguideController;

constexpr std::string_view kDefaultProfileName = "Username";
constexpr UIBlurEffectStyle kGuideBlurStyle = 11;

void lightImpact() {
    g_mainHapticFeedback = alloc<UIImpactFeedbackGenerator>();
    g_mainHapticFeedback->initWithStyle(UIImpactFeedbackStyleLight);
    g_mainHapticFeedback->impactOccurred();
}

Ref<HBPreferences> domainPreferences() {
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    return preferences;
}

// What the master switch sees of the stored value: whether the file exists, whether it names the key, and what a
// fresh preferences object reads for it. YES and NO are numbers equal to 1 and 0, as NSNumber compares them.
enum class StoredSwitch { NoFile, NoKey, Yes, No, Other };

StoredSwitch storedSwitch() {
    const auto file = platform::dictionaryWithContentsOfFile(vantile::kDomainFile);
    if (!file) return StoredSwitch::NoFile;
    if (!file->contains(std::string(vantile::key::toggleVantile))) return StoredSwitch::NoKey;
    const Value value = domainPreferences()->objectForKey(vantile::key::toggleVantile);
    if (value.isNumber()) {
        const auto number = value.numberValue();
        if (number && *number == 1) return StoredSwitch::Yes;
        if (number && *number == 0) return StoredSwitch::No;
    }
    return StoredSwitch::Other;
}

struct GuideItem {
    std::string_view title;
    std::string_view symbol;
    std::string_view description;
};

constexpr std::array<GuideItem, 9> kGuideItems{{
    {"Your time", "timer", "Please take a few minutes of your time to read through to get started."},
    {"Main page", "square.stack.fill",
     "On the main page, there will be a small drag handler on right side of the screen and you can swipe it to the "
     "left to open the drawer menu or swipe right to close the drawer menu. "},
    {"Drawer", "sidebar.left",
     "The drawer menu is split into three sections. The social section lists my social media accounts and the ways "
     "to contact me, so you can follow me or reach me whenever you need help. The settings section gives you three "
     "utilities: respring restarts your device's interface, safe mode restarts it into safe mode, and reset clears "
     "every setting of Vantile. The themes section starts with the purple and pink theme and has five more themes, "
     "choosing one restarts your interface and applies the theme to the whole pane."},
    {"Categories", "circle.grid.3x3.fill",
     "You will find the categories grid on the main page, I have made it more easier for you to navigate and more be "
     "user-friendly."},
    {"Profile", "person.crop.circle",
     "In the Profile category you will be asked for your name and your birthday. You don't have to enter your real "
     "name, a nickname will do just fine. Your name is shown in the greeting on the navigation bar of the main page. "
     "When your birthday comes, the banner on the main page will show you a birthday message, and on holidays it "
     "will show you a holiday message instead, so keep an eye on it on those days."},
    {"Changelog", "list.bullet.indent",
     "In the Changelog category you can see the changes and the fixes that each update has made."},
    {"Cells", "rectangle.grid.1x2.fill",
     "To get started, switch Vantile on with the switch in the navigation bar and respring your device. On the first "
     "launch the dashboard will be empty, that is normal. Open the cell editor with the gear icon at the top left of "
     "the navigation bar, then drag the cells you want from the Available Cells section into the Selected Cells "
     "section. Once you are happy with your selection, respring your device again and your cells will show up on "
     "the dashboard, ready to use."},
    {"Options", "ellipsis.circle.fill",
     "In the Options category you can choose whether the grid scrolls vertically or horizontally. On the Sections "
     "page you can change the titles of the tweaks, stock apps and 3rd party apps sections, and on the Colours page "
     "you can colour the cells."},
    {"Happy jailbreaking 💜", "smiley", ""},
}};

}  // namespace

Ref<UIImpactFeedbackGenerator> VNTPrimraryController::mainHapticFeedback() { return g_mainHapticFeedback; }
void VNTPrimraryController::giveLightImpact() { lightImpact(); }
Ref<OBWelcomeController> VNTPrimraryController::userguideController() { return g_userguideController; }

void VNTPrimraryController::init() {
    super::init();
    g_preferences = domainPreferences();
    g_themeFlags.bind(*g_preferences);
    g_preferences->registerObjectDefaultForKey(&g_profileName, Value(std::string(kDefaultProfileName)),
                                               vantile::key::profileNameString);

    m_enableSwitch = alloc<UISwitch>();
    m_enableSwitch->initWithFrame(CGRectZero);
    m_enableSwitch->addTargetActionForControlEvents(self(), sel("toggleState"), UIControlEventTouchUpInside);
    auto item = alloc<UIBarButtonItem>();
    item->initWithCustomView(m_enableSwitch);
    navigationItem()->setRightBarButtonItem(item);

    const auto theme = g_themeFlags.current();
    if (!theme) return;
    auto appearance = alloc<HBAppearanceSettings>();
    appearance->setTintColor(vnt::accentColour(theme));
    appearance->setTableViewCellSeparatorColor(UIColor::colorWithWhiteAlpha(0, 0));
    appearance->setNavigationBarBackgroundColor(vnt::gradientStartColour(theme));
    msgSend(this, sel("hb_setAppearanceSettings:"), appearance);
    m_enableSwitch->setOnTintColor(vnt::accentColour(theme));
}

Ref<NSMutableArray> VNTPrimraryController::specifiers() {
    if (!m_specifiers || m_specifiers->isEmpty())
        m_specifiers = vnt::loadPageList(*this, "Primrary");
    return m_specifiers;
}

int VNTPrimraryController::currentHour() {
    const double local = platform::Clock::now() + static_cast<double>(NSTimeZone::localTimeZone()->secondsFromGMT());
    const auto hour = static_cast<long long>(std::floor(local / 3600.0)) % 24;
    return static_cast<int>(hour < 0 ? hour + 24 : hour);
}

std::string VNTPrimraryController::greetingFormatForHour(int hour) {
    if (hour < 12) return "Good Morning \n%@";
    if (hour < 17) return "Good Afternoon \n%@";
    if (hour < 21) return "Good Evening \n%@";
    return "Good Night \n%@";
}

void VNTPrimraryController::viewDidLoad() {
    super::viewDidLoad();

    auto titleView = alloc<UIView>();
    titleView->initWithFrame(CGRectMake(0, 0, 150, 50));
    m_iconImage = alloc<UIImageView>();
    m_iconImage->initWithFrame(CGRectMake(0, 0, 30, 30));
    m_iconImage->setCenter(CGPointMake(75, 25));
    m_iconImage->setAlpha(0);
    titleView->addSubview(m_iconImage);

    m_greetingLabel = alloc<UILabel>();
    m_greetingLabel->initWithFrame(CGRectMake(0, 0, 150, 50));
    m_greetingLabel->setFont(UIFont::systemFontOfSize(10));
    m_greetingLabel->setTextColor(UIColor::whiteColor());
    m_greetingLabel->setTextAlignment(NSTextAlignmentCenter);
    m_greetingLabel->setNumberOfLines(2);
    titleView->addSubview(m_greetingLabel);
    navigationItem()->setTitleView(titleView);

    // A stored name that is no text greets the default name rather than an empty line.
    const std::string* name = g_profileName.asString();
    m_greetingLabel->setText(platform::stringWithFormat(greetingFormatForHour(currentHour()),
                                                        name ? *name : std::string(kDefaultProfileName)));

    setupBanner();
    vnt::turnOffLargeTitles(*this);
    m_iconImage->setImage(vnt::themedImage(g_themeFlags.current(), "Icons", "prefs-icon.png"));
}

void VNTPrimraryController::viewWillAppear(bool animated) {
    const CGPoint offset = table() ? table()->contentOffset() : CGPoint{};
    super::viewWillAppear(animated);
    // The host's inset pass knows nothing of the banner; the list is put back under it.
    keepListUnderBanner(offset);
    msgSend(this, sel("setEnableSwitchState"));
    msgSend(this, sel("setupDrawer"));
    msgSend(this, sel("isFirstTime"));
}

void VNTPrimraryController::setEnableSwitchState() {
    switch (storedSwitch()) {
    case StoredSwitch::NoFile:
    case StoredSwitch::NoKey:
    case StoredSwitch::No: m_enableSwitch->setOnAnimated(false, true); break;
    case StoredSwitch::Yes: m_enableSwitch->setOnAnimated(true, true); break;
    case StoredSwitch::Other: break;
    }
}

void VNTPrimraryController::toggleState() {
    m_enableSwitch->setEnabled(false);
    bool newValue = true;
    switch (storedSwitch()) {
    case StoredSwitch::NoFile:
    case StoredSwitch::NoKey:
    case StoredSwitch::No: newValue = true; break;
    case StoredSwitch::Yes: newValue = false; break;
    case StoredSwitch::Other: return;
    }
    domainPreferences()->setBoolForKey(newValue, vantile::key::toggleVantile);
}

void VNTPrimraryController::isFirstTime() {
    if (NSFileManager::defaultManager()->fileExistsAtPath(vantile::kDomainFile)) return;
    platform::performSelectorAfterDelay(self(), sel("openUserGuideController:"), nullptr, 0);
}

void VNTPrimraryController::openController(id sender) {
    lightImpact();
    std::string name;
    if (auto specifier = cast<PSSpecifier>(sender)) name = specifier->identifier().value_or("");
    else if (platform::responds(sender, "identifier")) name = msgSend<std::string>(sender, sel("identifier"));
    const Class cls = objc_getClass(name);
    if (!cls || !platform::runtime::isSubclass(cls, UIViewController::classObject())) return;
    auto controller = cast<UIViewController>(platform::runtime::createInstance(cls));
    if (!controller) return;
    controller->init();
    msgSend(this, sel("pushController:"), controller);
}

void VNTPrimraryController::openUserGuideController(id) {
    lightImpact();
    const auto theme = g_themeFlags.current();
    if (!theme) return;
    auto guide = alloc<OBWelcomeController>();
    guide->initWithTitleDetailTextIcon("User Guide", "A walk through tutorial how to use Vantile",
                                       vnt::themedImage(theme, "Icons", "prefs-icon.png"));
    g_userguideController = guide;
    guide->view()->setTintColor(vnt::accentColour(theme));
    for (const auto& item : kGuideItems)
        guide->addBulletedListItemWithTitleDescriptionImage(std::string(item.title), std::string(item.description),
                                                            UIImage::systemImageNamed(item.symbol));

    Ref<OBBoldTrayButton> close = OBBoldTrayButton::buttonWithType(UIButtonTypeSystem);
    close->setTitleForState("Close", UIControlStateNormal);
    close->setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
    close->setClipsToBounds(true);
    close->layer()->setCornerRadius(15);
    close->addTargetActionForControlEvents(self(), sel("closeUserGuide"), UIControlEventTouchUpInside);
    guide->buttonTray()->addButton(close);

    guide->buttonTray()->effectView()->setEffect(UIBlurEffect::effectWithStyle(kGuideBlurStyle));
    auto backdrop = alloc<UIVisualEffectView>();
    backdrop->initWithEffect(UIBlurEffect::effectWithStyle(kGuideBlurStyle));
    backdrop->setFrame(guide->view()->bounds());
    guide->view()->insertSubviewAtIndex(backdrop, 0);
    guide->view()->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.95, 0.95, 0.97, 1));

    guide->buttonTray()->addCaptionText("Thank you for purchasing Vantile 💜");
    guide->setModalPresentationStyle(UIModalPresentationPageSheet);
    guide->setModalInPresentation(true);
    // The perform scheduled at an appearance may run after the page was left within the same turn; the device
    // then only warns, and so presents nothing here either. A page inside a navigation controller presents
    // through it, as the device resolves a sheet to the controller that provides the presentation context.
    if (!window()) return;
    Ref<UIViewController> context = navigationController();
    (context ? context : self<UIViewController>())->presentViewControllerAnimatedCompletion(guide, true);
}

void VNTPrimraryController::closeUserGuide() {
    lightImpact();
    // The guide dismisses itself from whichever controller presented it.
    if (g_userguideController) g_userguideController->dismissViewControllerAnimatedCompletion(true);
}
