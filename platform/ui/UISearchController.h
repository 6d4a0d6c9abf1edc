#pragma once

// A controller that owns a search bar; a navigation item shows the bar under its title.

#include "platform/ui/UIViewController.h"

class UISearchBar;

class UISearchController : public UIViewController {
    VT_OBJECT(UISearchController, UIViewController)
public:
    // `results` may be null (results shown in the searching controller itself).
    void initWithSearchResultsController(Ref<UIViewController> results);
    void init() override;

    // Created with the controller; never null.
    Ref<UISearchBar> searchBar() const { return m_searchBar; }
    Ref<UIViewController> searchResultsController() const { return m_results; }
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }
    bool obscuresBackgroundDuringPresentation() const { return m_obscures; }
    void setObscuresBackgroundDuringPresentation(bool on) { m_obscures = on; }

private:
    Ref<UISearchBar> m_searchBar;
    Ref<UIViewController> m_results;
    bool m_active = false;
    bool m_obscures = true;
};
