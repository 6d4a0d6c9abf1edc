// Preference bundles opened from their Settings row as PreferenceLoader's entries are: the bundle's code loaded
// from the device root once, its principal class pushed, its pages reading their own folder; and every way a
// bundle can be broken, each showing the host's error page instead.
#include "platform/core/ClassImage.h"
#include "platform/core/NSBundle.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/host/PSBundleErrorController.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableView.h"
#include "tests/platform/host/HostFixture.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;
using platform::msgSend;

constexpr const char* kBundles = "/Library/PreferenceBundles/";

class PreferenceBundle : public hosttest::HostFixture {
public:  // the table of broken bundles below installs through these
    // A bundle folder "<name>.bundle" with an Info.plist of `info` (none when null).
    std::string makeBundle(const std::string& name, std::optional<Value::Dictionary> info) {
        const std::string path = std::string(kBundles) + name + ".bundle";
        fs::create_directories(hostPath(path));
        if (info) writePlist(path + "/Info.plist", Value(*info));
        return path;
    }
    void copyInto(const std::string& devicePath, const fs::path& from) {
        fs::create_directories(hostPath(devicePath).parent_path());
        fs::copy_file(from, hostPath(devicePath), fs::copy_options::overwrite_existing);
    }
    void writeText(const std::string& devicePath, const std::string& text) {
        fs::create_directories(hostPath(devicePath).parent_path());
        std::ofstream(hostPath(devicePath)) << text;
    }
    static Value::Dictionary info(const std::string& identifier, std::optional<std::string> executable,
                                  std::optional<std::string> principal) {
        Value::Dictionary d{{"CFBundleIdentifier", identifier}};
        if (executable) d["CFBundleExecutable"] = *executable;
        if (principal) d["NSPrincipalClass"] = *principal;
        return d;
    }

    // The fixture pane's bundle: its library, Info.plist, two plists with their tables and an icon.
    std::string installFixturePane() {
        const std::string path = makeBundle("Fixture", info("com.example.fixture-pane", "FixturePane",
                                                            "FixturePaneController"));
        copyInto(path + "/FixturePane", FIXTURE_PANE_LIBRARY);
        writePlist(path + "/Root.plist",
                   Value(Value::Dictionary{{"items", Value::Array{
                       item({{"cell", "PSGroupCell"}, {"label", "GROUP"}, {"footerText", "FOOT"}}),
                       item({{"cell", "PSLinkCell"}, {"label", "FIRST"}, {"icon", "first.png"}}),
                       item({{"cell", "PSLinkCell"}, {"label", "Untranslated"}})}}}));
        writePlist(path + "/Sub.plist", Value(Value::Dictionary{{"items", Value::Array{item({{"label", "SUBROW"}})}}}));
        writeText(path + "/en.lproj/Root.strings", "\"GROUP\" = \"Group\";\n\"FIRST\" = \"First row\";\n\"FOOT\" = \"Footer\";\n");
        writeText(path + "/en.lproj/Sub.strings", "\"SUBROW\" = \"Sub row\";\n");
        Bitmap icon(29, 29);
        for (auto& p : icon.pixels) p = 0xFF3366CCu;
        auto png = platform::gfx::encodePNG(icon);
        std::ofstream(hostPath(path + "/first.png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
        return path;
    }

    // A root page with one row for the bundle, as PreferenceLoader lists a pane; taps it and answers the top page.
    Ref<UIViewController> openEntry(const std::string& label, const std::string& bundle) {
        auto entry = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            label, nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
        entry->setPropertyForKey(Property(bundle), "bundle");
        entry->setPropertyForKey(Property(true), "isController");
        if (!m_navigation) {
            m_rootPage = alloc<PSListController>();
            m_rootPage->init();
            auto list = NSMutableArray::array();
            list->addObject(entry);
            m_rootPage->setSpecifiers(list);
            show(m_rootPage);
        } else {
            m_navigation->popToRootViewControllerAnimated(false);
            m_rootPage->specifiersIvar()->removeAllObjects();
            m_rootPage->specifiersIvar()->addObject(entry);
            m_rootPage->reloadSpecifiers();
        }
        msgSend<void>(m_rootPage, sel("tableView:didSelectRowAtIndexPath:"), m_rootPage->table(),
                      NSIndexPath::indexPathForRowInSection(0, 0));
        platform::RunLoop::main().advance(1);
        return m_navigation->topViewController();
    }

    static std::vector<std::string> labels(const Ref<UIViewController>& page) {
        std::vector<std::string> out;
        for (const auto& e : *msgSend<Ref<NSMutableArray>>(page, sel("specifiers")))
            out.push_back(cast<PSSpecifier>(e)->name());
        return out;
    }

    Ref<PSListController> m_rootPage;
};

TEST_F(PreferenceBundle, BrokenBundlesShowTheErrorPageTitledWithTheirEntry) {
    struct Case {
        const char* label;
        std::function<void(PreferenceBundle&, const std::string& name)> install;
        const char* reason;  // a part of what the page keeps as the reason
    };
    const Case cases[] = {
        {"Not installed", [](PreferenceBundle&, const std::string&) {}, "no bundle at"},
        {"No Info", [](PreferenceBundle& t, const std::string& n) {
             t.copyInto(t.makeBundle(n, std::nullopt) + "/" + n, FIXTURE_NO_CLASSES_LIBRARY);
         }, "no readable Info.plist"},
        {"No executable named", [](PreferenceBundle& t, const std::string& n) {
             t.makeBundle(n, info("com.example." + n, std::nullopt, "FixturePaneController"));
         }, "names no executable"},
        {"Executable missing", [](PreferenceBundle& t, const std::string& n) {
             t.makeBundle(n, info("com.example." + n, "Gone", "FixturePaneController"));
         }, "\"Gone\" is missing"},
        {"Wrong executable name", [](PreferenceBundle& t, const std::string& n) {
             const auto path = t.makeBundle(n, info("com.example." + n, "Other", "FixturePaneController"));
             t.copyInto(path + "/" + n, FIXTURE_NO_CLASSES_LIBRARY);
         }, "\"Other\" is missing"},
        {"Text file", [](PreferenceBundle& t, const std::string& n) {
             const auto path = t.makeBundle(n, info("com.example." + n, n, "TextFileController"));
             t.writeText(path + "/" + n, "#!/bin/sh\nthis is no library\n");
         }, "not a library that can be loaded"},
        {"Principal undefined", [](PreferenceBundle& t, const std::string& n) {
             const auto path = t.makeBundle(n, info("com.example." + n, n, "NoSuchPaneController"));
             t.copyInto(path + "/" + n, FIXTURE_NO_CLASSES_LIBRARY);
         }, "NoSuchPaneController is not defined"},
        {"No classes at all", [](PreferenceBundle& t, const std::string& n) {
             const auto path = t.makeBundle(n, info("com.example." + n, n, std::nullopt));
             t.copyInto(path + "/" + n, FIXTURE_NO_CLASSES_LIBRARY);
         }, "has no principal class"},
        {"Principal no controller", [](PreferenceBundle& t, const std::string& n) {
             const auto path = t.makeBundle(n, info("com.example." + n, n, "NSBundle"));
             t.copyInto(path + "/" + n, FIXTURE_NO_CLASSES_LIBRARY);
         }, "NSBundle is no view controller"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string name = "Broken" + std::to_string(index++);
        c.install(*this, name);
        auto top = openEntry(c.label, name);
        auto page = cast<PSBundleErrorController>(top);
        ASSERT_TRUE(page) << "got " << (top ? top->className() : "nothing");
        EXPECT_EQ(m_navigation->viewControllers().size(), 2u) << "pushed over the page of the row";
        EXPECT_EQ(page->title(), c.label);
        EXPECT_EQ(page->message(), std::string(c.label) + " could not be loaded.");
        EXPECT_NE(page->reason().find(c.reason), std::string::npos) << page->reason();
        EXPECT_EQ(msgSend<std::string>(page, sel("tableView:titleForFooterInSection:"), page->table(), 0L),
                  page->message())
            << "the page shows the message";
    }
}

TEST_F(PreferenceBundle, ThePaneLoadsOnceAndItsPagesReadTheirOwnFolder) {
    const std::string path = installFixturePane();
    const std::size_t opensBefore = platform::bundleExecutableOpenCount();

    auto first = openEntry("Fixture", "Fixture");
    ASSERT_TRUE(first);
    Class pane = objc_getClass("FixturePaneController");
    ASSERT_TRUE(pane) << "the load defined the bundle's classes";
    EXPECT_EQ(first->isa(), pane) << "the principal class is pushed";
    EXPECT_EQ(cast<PSListController>(first)->specifier()->name(), "Fixture") << "and given its row";
    EXPECT_LE(platform::bundleExecutableOpenCount() - opensBefore, 1u);
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_TRUE(bundle->isLoaded());
    EXPECT_EQ(bundle->principalClass(), pane);
    EXPECT_EQ(NSBundle::bundleForClass(pane), bundle);
    EXPECT_EQ(NSBundle::bundleForClass(objc_getClass("FixtureSubPage")), bundle) << "every class the load defined";
    EXPECT_EQ(NSBundle::bundleForClass(PSListController::classObject()), NSBundle::mainBundle());

    // Rows from the bundle's plist, labels and footer through its table named like the plist, icons from its folder.
    EXPECT_EQ(labels(first), (std::vector<std::string>{"Group", "First row", "Untranslated"}));
    auto list = msgSend<Ref<NSMutableArray>>(first, sel("specifiers"));
    EXPECT_EQ(list->objectAtIndexAs<PSSpecifier>(0)->stringProperty("footerText"), "Footer");
    EXPECT_TRUE(list->objectAtIndexAs<PSSpecifier>(1)->propertyForKey("iconImage")) << "first.png of the bundle";

    // A page the pane makes and pushes itself finds its plist in the bundle too.
    msgSend<void>(first, sel("openSubPage"));
    platform::RunLoop::main().advance(1);
    auto sub = m_navigation->topViewController();
    EXPECT_EQ(sub->className(), "FixtureSubPage");
    EXPECT_EQ(labels(sub), std::vector<std::string>{"Sub row"});

    // Opening it again makes a new controller from the code already loaded.
    const std::size_t opensAfterFirst = platform::bundleExecutableOpenCount();
    auto second = openEntry("Fixture", "Fixture");
    EXPECT_EQ(second->isa(), pane);
    EXPECT_NE(second, first);
    EXPECT_EQ(platform::bundleExecutableOpenCount(), opensAfterFirst) << "the executable is opened once";

    // Another device root (the next process of the simulator) with the same bundle: the code stays, and the classes
    // belong to the bundle of the new root.
    testing_support::TemporaryRoot other("host-other");
    platform::setDeviceRoot(other.path());
    platform::flushBundleCaches();
    m_root = other.path();
    installFixturePane();
    auto third = openEntry("Fixture", "Fixture");
    EXPECT_EQ(third->isa(), pane);
    EXPECT_EQ(platform::bundleExecutableOpenCount(), opensAfterFirst);
    EXPECT_EQ(labels(third), (std::vector<std::string>{"Group", "First row", "Untranslated"}));
    EXPECT_EQ(NSBundle::bundleForClass(pane), NSBundle::bundleWithPath(path));
    m_navigation->popToRootViewControllerAnimated(false);
    m_window->setRootViewController(nullptr);
    m_window = nullptr;
    m_navigation = nullptr;
    m_rootPage = nullptr;
    platform::flushBundleCaches();
}

TEST_F(PreferenceBundle, ClassesLinkedIntoTheProgramCanBeGivenToABundle) {
    const std::string path = makeBundle("Linked", info("com.example.linked", "Linked", "PSBundleErrorController"));
    writeText(path + "/Linked", "the code is linked into the program");
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(NSBundle::bundleForClass(objc_getClass("HostTestPage")), NSBundle::mainBundle());
    // A principal class already in the program is not opened again: the load succeeds without the executable.
    EXPECT_FALSE(msgSend<bool>(bundle, sel("isLoaded")));
    EXPECT_TRUE(msgSend<bool>(bundle, sel("load"))) << "also when sent by name";
    EXPECT_TRUE(bundle->isLoaded());
    EXPECT_EQ(bundle->loadAndReturnError(), std::nullopt);

    Class page = objc_getClass("HostTestPage");
    const std::string before = platform::runtime::imageOfClass(page);
    platform::recordClassOfBundle(page, bundle);
    EXPECT_EQ(NSBundle::bundleForClass(page), bundle);
    platform::runtime::setImageOfClass(page, before);
    EXPECT_EQ(NSBundle::bundleForClass(page), NSBundle::mainBundle());
}

}  // namespace
