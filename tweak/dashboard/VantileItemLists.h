#pragma once

// The card editor's two lists, the selected cards (`enabledItems`) and the available ones (`disabledItems`), with
// their loading from the preference domain, their defaults and their saving.
//
// The lists are process-wide and belong to the editor's table view: creating a table view calls create(), which
// replaces both lists by new empty ones and resets both running counters; the table view then calls loadVantiles().
// Every item made for a list takes that list's counter as its index and increments it. Loading and saving each use a
// fresh preferences object for the domain, so they see what the pane wrote a moment ago.

#include "tweak/dashboard/VantileItems.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class VantileItemLists {
public:
    using List = std::vector<Ref<VantileItems>>;

    // Replaces the process-wide lists by new empty ones with both counters at 0 and answers them. `reloadEditorTable`
    // is run when loading falls back to the defaults (it reloads the table view that owns the lists); may be empty.
    static VantileItemLists& create(std::function<void()> reloadEditorTable = {});
    // The process-wide lists; null before the first create() and after destroy().
    static VantileItemLists* current();
    // Drops the process-wide lists (a process that never opened the editor has none).
    static void destroy();

    // The selected / available items of the current lists, or a new empty list when there are none.
    static List getEnabledVantiles();
    static List getDisabledVantiles();

    // Fills the lists from `vantileEnabledArray` and `vantileDisabledArray`. When neither yields a title, the 23
    // catalogue titles become the available list, both lists are saved and the editor table is reloaded. Titles are
    // taken over as stored (no comparison with the catalogue, duplicates kept); entries that are not strings are
    // skipped.
    void loadVantiles();
    // Stores the titles of both lists, in list order, under `vantileEnabledArray` and `vantileDisabledArray`.
    void saveToConfig() const;

    // The lists themselves; the editor moves items between them.
    List& enabledItems() { return m_enabledItems; }
    List& disabledItems() { return m_disabledItems; }
    const List& enabledItems() const { return m_enabledItems; }
    const List& disabledItems() const { return m_disabledItems; }

    // New items with the next index of their list's counter (which they increment).
    Ref<VantileItems> makeEnabledItem(std::string header);
    Ref<VantileItems> makeDisabledItem(std::string header);
    std::int32_t nextEnabledIndex() const { return m_nextEnabledIndex; }
    std::int32_t nextDisabledIndex() const { return m_nextDisabledIndex; }

    void setReloadEditorTable(std::function<void()> reload) { m_reloadEditorTable = std::move(reload); }

    explicit VantileItemLists(std::function<void()> reloadEditorTable);
    VantileItemLists(const VantileItemLists&) = delete;
    VantileItemLists& operator=(const VantileItemLists&) = delete;

private:
    static std::int32_t takeIndex(std::int32_t& counter);

    List m_enabledItems;
    List m_disabledItems;
    std::int32_t m_nextEnabledIndex = 0;
    std::int32_t m_nextDisabledIndex = 0;
    std::function<void()> m_reloadEditorTable;
};
