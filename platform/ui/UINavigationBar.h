#pragma once

// The bar at the top of a navigation controller. It shows the top item's title (or title view), its bar button
// items, and a back button titled with the previous item's title when there is one. When the top item has a search
// controller, its search bar lies along the bottom of the bar, which is then kSearchBarHeight taller.

#include "platform/ui/UIView.h"

#include <string>
#include <vector>

class UINavigationItem;
class UIBarButtonItem;

class UINavigationBar : public UIView {
    VT_OBJECT(UINavigationBar, UIView)
public:
    static constexpr CGFloat kSearchBarHeight = 52;

    // Bottom first; the navigation controller keeps it equal to its stack's items.
    const std::vector<Ref<UINavigationItem>>& items() const { return m_items; }
    void setItems(std::vector<Ref<UINavigationItem>> items);
    // The last item, or null.
    Ref<UINavigationItem> topItem() const;
    // The item under the top one, or null.
    Ref<UINavigationItem> backItem() const;

    bool prefersLargeTitles() const { return m_prefersLargeTitles; }
    void setPrefersLargeTitles(bool on);
    // True when the top item's large-title mode and the bar's preference show the large title.
    bool showsLargeTitle() const;
    // True when the top item has a search controller, whose bar the navigation bar then shows.
    bool showsSearchBar() const;

    // What the bar shows, for dumps and tests: the title text (empty with a title view), the back button's title
    // (empty when there is no back item), the views of the bar button items, left and right, in screen order.
    std::string displayedTitle() const;
    std::string backButtonTitle() const;
    std::vector<Ref<UIView>> leftItemViews() const { return m_leftViews; }
    std::vector<Ref<UIView>> rightItemViews() const { return m_rightViews; }

    // Presses the back button as the user would; answers false when there is none.
    bool tapBackButton();
    // Published as "_backButtonPressed:" (void(id)): the back button's action.
    void tapBackButtonAction(id sender) { tapBackButton(); }

    // Rebuilds the item views from the top item; the item calls it when its content changes.
    void itemsChanged();
    void layoutSubviews() override;
    // As on the phone, the bar hands a touch in its row of items to the bar button item it falls on or is
    // nearest to, judged by what the item draws: an image moved by image insets is where a person aims, even
    // outside its button. A touch on a drawn item goes to that item's view; a touch on the bar's own empty
    // background within kItemReach of an item (what it draws or its view) goes to the nearest one. Everything
    // else (the title, the large title, the search bar, a touch beyond the reach) is hit as usual; a point
    // outside the bar hits nothing of it.
    Ref<UIView> hitTest(CGPoint point) override;
    static constexpr CGFloat kItemReach = 20;

    // The navigation controller that owns the bar (weak).
    void setNavigationController(Weak<class UINavigationController> owner) { m_owner = std::move(owner); }

private:
    Ref<UIView> viewForItem(const Ref<UIBarButtonItem>& item);
    // Where an item's view draws, in the bar's coordinates: its image alone for an image-only button, else its frame.
    CGRect drawnRect(const Ref<UIView>& itemView);

    std::vector<Ref<UINavigationItem>> m_items;
    bool m_prefersLargeTitles = false;
    Ref<UIView> m_titleView;  // a label or the item's own title view
    Ref<UIView> m_backView;
    std::vector<Ref<UIView>> m_leftViews;
    std::vector<Ref<UIView>> m_rightViews;
    Ref<UIView> m_searchView;
    Weak<class UINavigationController> m_owner;
};
