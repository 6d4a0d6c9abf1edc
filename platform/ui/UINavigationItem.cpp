#include "platform/ui/UINavigationItem.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UISearchController.h"

VT_REGISTER_CLASS(UINavigationItem)

void UINavigationItem::initWithTitle(std::string title) { m_title = std::move(title); }

void UINavigationItem::changed() {
    if (auto bar = m_bar.lock()) bar->itemsChanged();
}

void UINavigationItem::setTitle(std::string title) {
    m_title = std::move(title);
    changed();
}

void UINavigationItem::setTitleView(Ref<UIView> view) {
    m_titleView = std::move(view);
    changed();
}

void UINavigationItem::setLeftBarButtonItems(std::vector<Ref<UIBarButtonItem>> items) {
    std::erase(items, nullptr);
    m_left = std::move(items);
    changed();
}

void UINavigationItem::setRightBarButtonItems(std::vector<Ref<UIBarButtonItem>> items) {
    std::erase(items, nullptr);
    m_right = std::move(items);
    changed();
}

Ref<UIBarButtonItem> UINavigationItem::leftBarButtonItem() const { return m_left.empty() ? nullptr : m_left.front(); }
Ref<UIBarButtonItem> UINavigationItem::rightBarButtonItem() const {
    return m_right.empty() ? nullptr : m_right.front();
}

void UINavigationItem::setLeftBarButtonItem(Ref<UIBarButtonItem> item) {
    setLeftBarButtonItems(item ? std::vector<Ref<UIBarButtonItem>>{item} : std::vector<Ref<UIBarButtonItem>>{});
}

void UINavigationItem::setRightBarButtonItem(Ref<UIBarButtonItem> item) {
    setRightBarButtonItems(item ? std::vector<Ref<UIBarButtonItem>>{item} : std::vector<Ref<UIBarButtonItem>>{});
}

void UINavigationItem::setBackButtonTitle(std::string title) {
    m_backTitle = std::move(title);
    changed();
}

void UINavigationItem::setHidesBackButton(bool hidden) {
    m_hidesBack = hidden;
    changed();
}

void UINavigationItem::setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayMode mode) {
    m_largeTitleMode = mode;
    changed();
}

void UINavigationItem::setSearchController(Ref<UISearchController> controller) {
    m_search = std::move(controller);
    changed();
}
