#include "platform/ui/UISearchController.h"

#include "platform/core/Runtime.h"

#include "platform/ui/UISearchBar.h"

VT_REGISTER_CLASS(UISearchController)

void UISearchController::init() {
    UIViewController::init();
    if (m_searchBar) return;
    m_searchBar = alloc<UISearchBar>();
    m_searchBar->initWithFrame(CGRectMake(0, 0, 375, UISearchBar::kHeight));
}

void UISearchController::initWithSearchResultsController(Ref<UIViewController> results) {
    m_results = std::move(results);
    init();
}
