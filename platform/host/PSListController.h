#pragma once

// A page of the Settings application: a grouped list showing one row (or group header) per specifier of its list.
//
// Published to the run-time, and called by the platform only through msgSend so that replacements take effect:
//   "specifiers"                              Ref<NSMutableArray> specifiers()       the page's list (see below)
//   "setSpecifiers:"                          void setSpecifiers(Ref<NSMutableArray>)
//   "reloadSpecifiers"                        void reloadSpecifiers()
//   "reloadSpecifierAtIndex:animated:"        void reloadSpecifierAtIndexAnimated(long, bool)
//   "loadSpecifiersFromPlistName:target:"     Ref<NSMutableArray> (std::string name, id target)
//   "specifier" / "setSpecifier:"             Ref<PSSpecifier> / void(Ref<PSSpecifier>)   the row that opened it
//   "table"                                   Ref<UITableView> table()
//   "pushController:"                         void pushController(Ref<UIViewController>)
//   "readPreferenceValue:"                    Value (Ref<PSSpecifier>)
//   "setPreferenceValue:specifier:"           void (Value, Ref<PSSpecifier>)
//   "setEdgeToEdgeCells:"                     void setEdgeToEdgeCells(bool)
//   "_isRegularWidth"                         bool _isRegularWidth()
//   the table's data source and delegate methods (UITableView.h), "tableView:didSelectRowAtIndexPath:" among them
// and the instance variable "_specifiers" (the list object itself, a held null when the page has none yet).
//
// Pages override `specifiers` with one pattern: if `_specifiers` is empty, fill it, then return it. The list is
// shared by reference, so a page given another page's list shows that very object. The table asks for the list
// again at every reload, so changes of the list show at the next reloadSpecifiers (or appearance).
//
// The view is a plain view whose first subview is the grouped table. When the view loads the page asks
// `_isRegularWidth` and then asks for edge-to-edge cells exactly when the width is not regular, as the device's
// pages do on a phone. Edge-to-edge rows span the table; otherwise rows are inset (16 points, 20 at regular width)
// with rounded group corners.
//
// Selecting a row: a row naming a preference bundle ("bundle", as PreferenceLoader's entries do) pushes the
// bundle's principal class, or the host's error page when the bundle cannot give one (PSBundleErrorController.h).
// A row with a detail page class (or a "detail" class name, looked up when tapped) creates that controller with
// createInstance + "init", gives it the row through "setSpecifier:" when it answers it, then sends
// "pushController:". A link-list row without a page class pushes the list of its "validTitles"
// (PSListItemsController.h). A button row sends its "action" selector to its target, with the row as argument when
// the method takes one. Other rows do nothing.
//
// Rows: each cell type has the framework's row class (switch, slider, edit text, segment; PSTableCell for the
// rest). A "cellClass" naming a table cell class replaces it: a class answering "initWithSpecifier:" is made with
// that once per entry and kept (its height is "preferredHeightForWidth:" at the table's width), any other with
// "initWithStyle:reuseIdentifier:specifier:". A "cellClass" naming no class, or a class that is no cell, leaves
// the row its standard class. A "height" property above 0 decides the row's height before anything else.
//
// Resources. A page finds its specifier plists and their "icon" files in its bundle folder: bundlePath() when set,
// else the bundle whose load defined the page's class (NSBundle::bundleForClass), else the main bundle. Row and
// group labels and group footers come through that bundle's strings table named like the plist; a label missing
// from the table stays as written.

#include "platform/core/Value.h"
#include "platform/ui/UIViewController.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class HBAppearanceSettings;
class NSBundle;
class NSMutableArray;
class NSIndexPath;
class PSSpecifier;
class UITableView;
class UITableViewCell;

class PSListController : public UIViewController {
    VT_OBJECT(PSListController, UIViewController)
public:
    // The page's list: `_specifiers`, null when nothing filled it yet.
    virtual Ref<NSMutableArray> specifiers();
    // Replaces `_specifiers` by `list` (the object itself, not a copy) and reloads the table. Null empties the page.
    virtual void setSpecifiers(Ref<NSMutableArray> list);
    const Ref<NSMutableArray>& specifiersIvar() const { return m_specifiers; }
    virtual void reloadSpecifiers();
    // Refreshes the row of the list entry at `index`; an index outside the list does nothing.
    virtual void reloadSpecifierAtIndexAnimated(long index, bool animated);

    // The specifiers described by a property list "<name>.plist" in the page's bundle (resourceFolder()): a
    // dictionary whose "items" array holds one dictionary per entry (see specifiersFromItems), labels localized
    // from the table "<name>". An empty list when the file is missing or is no such dictionary.
    virtual Ref<NSMutableArray> loadSpecifiersFromPlistNameTarget(std::string name, id target);
    // Entries from their dictionaries, in order. Keys: "cell" (a cell type name; default PSLinkCell, unknown names
    // skip the entry), "label" (the name), "id" (the identifier), "detail" (a page class name), "cellClass" (a
    // custom row class name), "icon" (an image file of `bundlePath`, becomes "iconImage"), "get"/"set" (selector
    // names; a row with a "key" gets "readPreferenceValue:" / "setPreferenceValue:specifier:" by default),
    // "requiredCapabilities" (an array; the entry is left out unless the device has them all, DeviceCapabilities.h).
    // Every key is also kept as a property. Entries that are no dictionary are skipped.
    static Ref<NSMutableArray> specifiersFromItems(const Value::Array& items, const id& target,
                                                   const std::string& bundlePath);

    // The page's bundle folder (a device path); empty means the bundle of the page's class (see above).
    const std::string& bundlePath() const { return m_bundlePath; }
    // The folder the page's resources come from: bundlePath(), else that of the class's bundle.
    std::string resourceFolder() const;
    void setBundlePath(std::string path) { m_bundlePath = std::move(path); }
    // The bundle of resourceFolder(), as rows ask their target for it; published as "bundle" (Ref<NSBundle>()).
    // Null when the folder names no bundle.
    Ref<NSBundle> bundle() const;

    Ref<PSSpecifier> specifier() const { return m_specifier; }
    // Also titles the page with the row's name when it has no title yet.
    virtual void setSpecifier(Ref<PSSpecifier> specifier);

    // The page's table (loads the view).
    Ref<UITableView> table();
    // Pushes onto the navigation stack the page is in; outside one nothing happens.
    virtual void pushController(Ref<UIViewController> controller);

    virtual Value readPreferenceValue(Ref<PSSpecifier> specifier);
    virtual void setPreferenceValueSpecifier(Value value, Ref<PSSpecifier> specifier);

    virtual void setEdgeToEdgeCells(bool on);
    bool edgeToEdgeCells() const { return m_edgeToEdgeCells; }
    // Regular width is the width of a tablet: a screen at least 700 points wide.
    virtual bool _isRegularWidth();
    // What `_isRegularWidth` answered when the view loaded; nothing before.
    std::optional<bool> usesRegularWidthLayout() const { return m_regularWidthLayout; }
    // The side margin of the rows: 0 edge-to-edge, else 16 (20 at regular width).
    CGFloat rowMargin() const;

    // The list entry shown at a table row; null outside. And the row of a list index (group headers have none).
    Ref<PSSpecifier> specifierAtIndexPath(long section, long row) const;
    std::optional<std::pair<long, long>> indexPathForIndex(long index) const;

    // Cephei's appearance settings of the page (HBAppearanceSettings.h); null for the host's own look. Published as
    // "hb_setAppearanceSettings:" and "hb_appearanceSettings". Settings given while the page is on screen show at
    // once; rows made later take them as they are placed.
    virtual void hb_setAppearanceSettings(Ref<HBAppearanceSettings> settings);
    Ref<HBAppearanceSettings> hb_appearanceSettings() const { return m_appearance; }
    // What the page shows: its own settings, else those of the page that pushed it; null for the host's look.
    Ref<HBAppearanceSettings> effectiveAppearanceSettings() const;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidLayoutSubviews() override;

    // ----- table data source and delegate, published under their selectors -----
    long numberOfSectionsInTableView(Ref<UITableView> table);
    long tableViewNumberOfRowsInSection(Ref<UITableView> table, long section);
    virtual Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path);
    std::string tableViewTitleForHeaderInSection(Ref<UITableView> table, long section);
    std::string tableViewTitleForFooterInSection(Ref<UITableView> table, long section);
    CGFloat tableViewHeightForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path);
    virtual void tableViewDidSelectRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path);

protected:
    // Opens what a row opens (see above); answers the controller pushed, or null.
    Ref<UIViewController> openRow(const Ref<PSSpecifier>& row);

    Ref<NSMutableArray> m_specifiers;

private:
    struct Group {
        Ref<PSSpecifier> header;  // null for rows before the first header
        std::vector<std::size_t> rows;  // indices into the list
    };
    // Splits the list the page currently answers into groups.
    void rebuildGroups();
    // Keeps the rows clear of the navigation bar and the home indicator.
    void updateInsets();
    // The kept cell of a row whose "cellClass" answers "initWithSpecifier:", made on first use.
    Ref<UITableViewCell> customViewCell(const Ref<PSSpecifier>& row);
    // The appearance settings on the page's view, table and rows, and on the navigation bar while it is on top.
    void applyAppearance();
    void applyAppearanceToCell(const Ref<UITableViewCell>& cell, const Ref<PSSpecifier>& row) const;
    // The page on top claims the bar's colour; giving it back restores the bar's own look.
    void colourNavigationBar();
    void restoreNavigationBar(bool onlyOwnClaim);

    Ref<UITableView> m_table;
    Ref<NSMutableArray> m_shown;  // the list the groups were built from
    std::vector<Group> m_groups;
    Ref<PSSpecifier> m_specifier;
    std::string m_bundlePath;
    bool m_edgeToEdgeCells = false;
    std::optional<bool> m_regularWidthLayout;
    Ref<HBAppearanceSettings> m_appearance;
    std::vector<std::pair<Ref<PSSpecifier>, Ref<UITableViewCell>>> m_customViews;
    Ref<HBAppearanceSettings> m_inheritedAppearance;  // from the page that pushed this one
};
