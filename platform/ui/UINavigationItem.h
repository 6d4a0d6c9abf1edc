#pragma once

// What a controller shows in a navigation bar while it is on top: title or title view, bar button items, the large
// title mode and a search controller.

#include "platform/core/Object.h"

#include <string>
#include <vector>

class UIView;
class UIBarButtonItem;
class UISearchController;
class UINavigationBar;

using UINavigationItemLargeTitleDisplayMode = long;
inline constexpr UINavigationItemLargeTitleDisplayMode UINavigationItemLargeTitleDisplayModeAutomatic = 0;
inline constexpr UINavigationItemLargeTitleDisplayMode UINavigationItemLargeTitleDisplayModeAlways = 1;
inline constexpr UINavigationItemLargeTitleDisplayMode UINavigationItemLargeTitleDisplayModeNever = 2;

class UINavigationItem : public NSObject {
    VT_OBJECT(UINavigationItem, NSObject)
public:
    void initWithTitle(std::string title);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    // Replaces the title text in the bar when set; null shows the title again.
    Ref<UIView> titleView() const { return m_titleView; }
    void setTitleView(Ref<UIView> view);

    // Items in screen order (left items from the left edge, right items from the right edge inwards).
    const std::vector<Ref<UIBarButtonItem>>& leftBarButtonItems() const { return m_left; }
    void setLeftBarButtonItems(std::vector<Ref<UIBarButtonItem>> items);
    const std::vector<Ref<UIBarButtonItem>>& rightBarButtonItems() const { return m_right; }
    void setRightBarButtonItems(std::vector<Ref<UIBarButtonItem>> items);
    // The first item of the array, or null; setting replaces the array by that one item (nil empties it).
    Ref<UIBarButtonItem> leftBarButtonItem() const;
    void setLeftBarButtonItem(Ref<UIBarButtonItem> item);
    Ref<UIBarButtonItem> rightBarButtonItem() const;
    void setRightBarButtonItem(Ref<UIBarButtonItem> item);

    // The title of the back button that leads back to this item; empty means "use the title".
    const std::string& backButtonTitle() const { return m_backTitle; }
    void setBackButtonTitle(std::string title);
    bool hidesBackButton() const { return m_hidesBack; }
    void setHidesBackButton(bool hidden);

    UINavigationItemLargeTitleDisplayMode largeTitleDisplayMode() const { return m_largeTitleMode; }
    void setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayMode mode);

    // The search controller whose bar the navigation bar shows under the title, or null.
    Ref<UISearchController> searchController() const { return m_search; }
    void setSearchController(Ref<UISearchController> controller);

    // The bar that currently shows this item (weak), told about every change.
    void setBar(Weak<UINavigationBar> bar) { m_bar = std::move(bar); }

private:
    void changed();

    std::string m_title;
    Ref<UIView> m_titleView;
    std::vector<Ref<UIBarButtonItem>> m_left;
    std::vector<Ref<UIBarButtonItem>> m_right;
    std::string m_backTitle;
    bool m_hidesBack = false;
    UINavigationItemLargeTitleDisplayMode m_largeTitleMode = UINavigationItemLargeTitleDisplayModeAutomatic;
    Ref<UISearchController> m_search;
    Weak<UINavigationBar> m_bar;
};
