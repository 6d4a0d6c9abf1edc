#include "platform/ui/UITableView.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

VT_REGISTER_CLASS(UITableView, [](Class c) {
    platform::runtime::addMethod<&UITableView::reloadData>(c, "reloadData");
    platform::runtime::addMethod<&UITableView::beginUpdates>(c, "beginUpdates");
    platform::runtime::addMethod<&UITableView::endUpdates>(c, "endUpdates");
})

using platform::msgSend;

namespace {
using T = Ref<UITableView>;
using P = Ref<NSIndexPath>;
}  // namespace

void UITableView::initWithFrame(CGRect frame) { initWithFrameStyle(frame, UITableViewStylePlain); }

void UITableView::initWithFrameStyle(CGRect frame, UITableViewStyle style) {
    m_style = style;
    UIScrollView::initWithFrame(frame);
    setAlwaysBounceVertical(true);
    setBackgroundColor(style == UITableViewStylePlain ? UIColor::systemBackgroundColor()
                                                      : UIColor::systemGroupedBackgroundColor());
}

void UITableView::setDataSource(const id& dataSource) {
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void UITableView::setRowHeight(CGFloat height) {
    m_rowHeight = height;
    if (m_loaded) reloadData();
}

void UITableView::setSeparatorStyle(UITableViewCellSeparatorStyle style) {
    m_separatorStyle = style;
    for (auto& [path, cell] : m_cells) cell->setSeparatorHidden(style == UITableViewCellSeparatorStyleNone);
}

// ----- registration and reuse -----

void UITableView::registerClassForCellReuseIdentifier(Class cellClass, const std::string& identifier) {
    m_cellClasses[identifier] = cellClass;
}

void UITableView::registerClassForHeaderFooterViewReuseIdentifier(Class viewClass, const std::string& identifier) {
    m_headerClasses[identifier] = viewClass;
}

Ref<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    auto& pool = m_reusable[identifier];
    if (!pool.empty()) {
        auto cell = pool.back();
        pool.pop_back();
        msgSend(cell.get(), sel("prepareForReuse"));
        return cell;
    }
    auto it = m_cellClasses.find(identifier);
    if (it == m_cellClasses.end() || !it->second) return nullptr;
    auto cell = cast<UITableViewCell>(platform::runtime::createInstance(it->second));
    if (!cell) return nullptr;
    msgSend<void, long, std::string>(cell.get(), sel("initWithStyle:reuseIdentifier:"), UITableViewCellStyleDefault,
                                     identifier);
    ++m_createdCells;
    return cell;
}

Ref<UITableViewCell> UITableView::dequeueReusableCellWithIdentifierForIndexPath(const std::string& identifier,
                                                                                IndexPath) {
    auto cell = dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        throw NSInternalInconsistencyException("unable to dequeue a cell with identifier " + identifier +
                                               " - must register a nib or a class for the identifier");
    return cell;
}

Ref<UITableViewHeaderFooterView> UITableView::dequeueReusableHeaderFooterViewWithIdentifier(
    const std::string& identifier) {
    auto& pool = m_reusableHeaders[identifier];
    if (!pool.empty()) {
        auto view = pool.back();
        pool.pop_back();
        return view;
    }
    auto it = m_headerClasses.find(identifier);
    if (it == m_headerClasses.end()) return nullptr;
    auto view = cast<UITableViewHeaderFooterView>(platform::runtime::createInstance(it->second));
    if (!view) return nullptr;
    msgSend<void, std::string>(view.get(), sel("initWithReuseIdentifier:"), identifier);
    return view;
}

void UITableView::recycle(const Ref<UITableViewCell>& cell) {
    cell->removeFromSuperview();
    if (cell->reuseIdentifier().empty()) return;
    // A data source may keep a cell and hand the same one back at every reload (the Settings pages keep their
    // custom views); it waits in the pool once, not once per reload.
    auto& pool = m_reusable[cell->reuseIdentifier()];
    if (std::find(pool.begin(), pool.end(), cell) == pool.end()) pool.push_back(cell);
}

// ----- the model -----

void UITableView::ensureLoaded() {
    if (!m_loaded) reloadData();
}

std::vector<long> UITableView::dataSourceCounts() {
    auto ds = dataSource();
    auto me = self<UITableView>();
    long sections = 0;
    if (ds) {
        sections = platform::responds(ds, "numberOfSectionsInTableView:")
                       ? msgSend<long, T>(ds.get(), sel("numberOfSectionsInTableView:"), me)
                       : 1;
    }
    std::vector<long> counts;
    for (long s = 0; s < sections; ++s)
        counts.push_back(std::max(0L, msgSend<long, T, long>(ds.get(), sel("tableView:numberOfRowsInSection:"), me, s)));
    return counts;
}

CGFloat UITableView::heightForRow(IndexPath path) {
    auto d = delegate();
    if (platform::responds(d, "tableView:heightForRowAtIndexPath:"))
        return msgSend<CGFloat, T, P>(d.get(), sel("tableView:heightForRowAtIndexPath:"), self<UITableView>(),
                                      obj(path));
    return m_rowHeight;
}

void UITableView::loadModel() {
    auto ds = dataSource();
    auto d = delegate();
    auto me = self<UITableView>();
    auto counts = dataSourceCounts();
    bool grouped = m_style != UITableViewStylePlain;
    std::vector<Section> sections(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        long s = static_cast<long>(i);
        Section& sec = sections[i];
        if (platform::responds(ds, "tableView:titleForHeaderInSection:"))
            sec.title = msgSend<std::string, T, long>(ds.get(), sel("tableView:titleForHeaderInSection:"), me, s);
        if (platform::responds(ds, "tableView:titleForFooterInSection:"))
            sec.footerTitle = msgSend<std::string, T, long>(ds.get(), sel("tableView:titleForFooterInSection:"), me, s);
        if (platform::responds(d, "tableView:heightForHeaderInSection:")) {
            sec.headerHeight = msgSend<CGFloat, T, long>(d.get(), sel("tableView:heightForHeaderInSection:"), me, s);
        } else if (m_sectionHeaderHeight >= 0) {
            sec.headerHeight = m_sectionHeaderHeight;
        } else if (!sec.title.empty() || platform::responds(d, "tableView:viewForHeaderInSection:")) {
            sec.headerHeight = grouped ? 38 : 28;
        } else {
            sec.headerHeight = grouped ? (s == 0 ? 35 : 18) : 0;
        }
        if (platform::responds(d, "tableView:heightForFooterInSection:")) {
            sec.footerHeight = msgSend<CGFloat, T, long>(d.get(), sel("tableView:heightForFooterInSection:"), me, s);
        } else if (m_sectionFooterHeight >= 0) {
            sec.footerHeight = m_sectionFooterHeight;
        } else {
            sec.footerHeight = !sec.footerTitle.empty() ? (grouped ? 38 : 28) : 0;
        }
        sec.headerHeight = std::max<CGFloat>(0, sec.headerHeight);
        sec.footerHeight = std::max<CGFloat>(0, sec.footerHeight);
        for (long r = 0; r < counts[i]; ++r) {
            CGFloat h = heightForRow({s, r});
            bool automatic = h < 0;
            sec.rowHeights.push_back(automatic ? (m_estimatedRowHeight > 0 ? m_estimatedRowHeight : kDefaultRowHeight)
                                               : h);
            sec.measured.push_back(!automatic);
        }
    }
    m_sections = std::move(sections);
    m_loaded = true;
    computeGeometry();
}

void UITableView::computeGeometry() {
    CGFloat y = m_tableHeader ? m_tableHeader->frame().height() : 0;
    for (auto& sec : m_sections) {
        sec.top = y;
        y += sec.headerHeight;
        sec.rowTops.clear();
        for (CGFloat h : sec.rowHeights) {
            sec.rowTops.push_back(y);
            y += h;
        }
        sec.rowsEnd = y;
        y += sec.footerHeight;
        sec.end = y;
    }
    if (m_tableFooter) {
        CGRect f = m_tableFooter->frame();
        m_tableFooter->setFrame(CGRectMake(0, y, bounds().width(), f.height()));
        y += f.height();
    }
    if (m_tableHeader) {
        CGRect f = m_tableHeader->frame();
        m_tableHeader->setFrame(CGRectMake(0, 0, bounds().width(), f.height()));
    }
    setContentSize({bounds().width(), y});
}

void UITableView::reloadData() {
    if (m_reorder) claimedTouchCancelled();
    for (auto& [path, cell] : m_cells) recycle(cell);
    m_cells.clear();
    for (auto& [section, header] : m_headers) header->removeFromSuperview();
    m_headers.clear();
    m_selected.clear();
    loadModel();
    updateVisibleCells();
}

long UITableView::numberOfSections() {
    ensureLoaded();
    return static_cast<long>(m_sections.size());
}

long UITableView::numberOfRowsInSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= static_cast<long>(m_sections.size())) return 0;
    return static_cast<long>(m_sections[static_cast<std::size_t>(section)].rowHeights.size());
}

bool UITableView::rowExists(IndexPath p) const {
    return p.section >= 0 && p.section < static_cast<long>(m_sections.size()) && p.row >= 0 &&
           p.row < static_cast<long>(m_sections[static_cast<std::size_t>(p.section)].rowHeights.size());
}

CGRect UITableView::rectForRowAtIndexPath(IndexPath p) {
    ensureLoaded();
    if (!rowExists(p)) return CGRectZero;
    const auto& sec = m_sections[static_cast<std::size_t>(p.section)];
    auto r = static_cast<std::size_t>(p.row);
    return CGRectMake(0, sec.rowTops[r], bounds().width(), sec.rowHeights[r]);
}

CGRect UITableView::rectForHeaderInSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= static_cast<long>(m_sections.size())) return CGRectZero;
    const auto& sec = m_sections[static_cast<std::size_t>(section)];
    return CGRectMake(0, sec.top, bounds().width(), sec.headerHeight);
}

std::optional<IndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) {
    ensureLoaded();
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        const auto& sec = m_sections[s];
        if (point.y < sec.top || point.y >= sec.rowsEnd) continue;
        for (std::size_t r = 0; r < sec.rowTops.size(); ++r)
            if (point.y >= sec.rowTops[r] && point.y < sec.rowTops[r] + sec.rowHeights[r])
                return IndexPath{static_cast<long>(s), static_cast<long>(r)};
    }
    return std::nullopt;
}

Ref<UITableViewCell> UITableView::cellForRowAtIndexPath(IndexPath path) {
    ensureLoaded();
    auto it = m_cells.find(path);
    return it == m_cells.end() ? nullptr : it->second;
}

std::optional<IndexPath> UITableView::indexPathForCell(const Ref<UITableViewCell>& cell) const {
    for (const auto& [path, c] : m_cells)
        if (c == cell) return path;
    return std::nullopt;
}

std::vector<Ref<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<Ref<UITableViewCell>> out;
    for (const auto& [path, cell] : m_cells) out.push_back(cell);
    return out;
}

std::vector<IndexPath> UITableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> out;
    for (const auto& [path, cell] : m_cells) out.push_back(path);
    return out;
}

Ref<UIView> UITableView::headerViewForSection(long section) const {
    auto it = m_headers.find(section);
    return it == m_headers.end() ? nullptr : it->second;
}

std::optional<IndexPath> UITableView::reorderingSourcePath() const {
    if (!m_reorder) return std::nullopt;
    return m_reorder->source;
}

// ----- cells on screen -----

Ref<UITableViewCell> UITableView::requestCell(IndexPath path) {
    auto ds = dataSource();
    auto cell = msgSend<Ref<UITableViewCell>, T, P>(ds.get(), sel("tableView:cellForRowAtIndexPath:"),
                                                    self<UITableView>(), obj(path));
    if (!cell) {
        std::ostringstream os;
        os << "UITableView dataSource returned a nil cell for row " << path.row << " in section " << path.section;
        throw NSInternalInconsistencyException(os.str());
    }
    return cell;
}

bool UITableView::canMoveRow(IndexPath path) {
    auto ds = dataSource();
    if (!platform::responds(ds, "tableView:moveRowAtIndexPath:toIndexPath:")) return false;
    if (!platform::responds(ds, "tableView:canMoveRowAtIndexPath:")) return true;
    return msgSend<bool, T, P>(ds.get(), sel("tableView:canMoveRowAtIndexPath:"), self<UITableView>(), obj(path));
}

void UITableView::configureCell(const Ref<UITableViewCell>& cell, IndexPath path) {
    auto d = delegate();
    cell->setEditing(m_editing);
    if (m_editing) {
        cell->setShowsReorderControl(canMoveRow(path));
        long style = platform::responds(d, "tableView:editingStyleForRowAtIndexPath:")
                         ? msgSend<long, T, P>(d.get(), sel("tableView:editingStyleForRowAtIndexPath:"),
                                               self<UITableView>(), obj(path))
                         : UITableViewCellEditingStyleDelete;
        cell->setEditingStyle(style);
    }
    cell->setSeparatorHidden(m_separatorStyle == UITableViewCellSeparatorStyleNone);
    bool selected = std::find(m_selected.begin(), m_selected.end(), path) != m_selected.end();
    if (cell->isSelected() != selected) cell->setSelected(selected);
}

void UITableView::updateVisibleCells() {
    if (!m_loaded || m_inLayout) return;
    m_inLayout = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_inLayout};

    // Automatic heights change the geometry once the measured cells exist; two passes settle it.
    for (int pass = 0; pass < 3; ++pass) {
        CGRect visible = bounds();
        std::set<IndexPath> wanted;
        if (!visible.isEmpty()) {
            for (std::size_t s = 0; s < m_sections.size(); ++s) {
                const auto& sec = m_sections[s];
                for (std::size_t r = 0; r < sec.rowTops.size(); ++r) {
                    CGFloat top = sec.rowTops[r], bottom = top + sec.rowHeights[r];
                    if (bottom > visible.minY() && top < visible.maxY() && sec.rowHeights[r] > 0)
                        wanted.insert({static_cast<long>(s), static_cast<long>(r)});
                }
            }
        }
        // Rows that left are recycled first, so their cells can serve the rows that come in.
        for (auto it = m_cells.begin(); it != m_cells.end();) {
            if (!wanted.count(it->first) && !(m_reorder && m_reorder->cell == it->second)) {
                recycle(it->second);
                it = m_cells.erase(it);
            } else {
                ++it;
            }
        }
        bool remeasured = false;
        auto d = delegate();
        for (const auto& path : wanted) {
            bool isNew = !m_cells.count(path);
            Ref<UITableViewCell> cell = isNew ? requestCell(path) : m_cells[path];
            auto& sec = m_sections[static_cast<std::size_t>(path.section)];
            auto r = static_cast<std::size_t>(path.row);
            if (isNew) {
                m_cells[path] = cell;
                configureCell(cell, path);
                if (!sec.measured[r]) {
                    CGFloat h = cell->fittingHeightForWidth(bounds().width(), sec.rowHeights[r]);
                    sec.measured[r] = true;
                    if (h != sec.rowHeights[r]) {
                        sec.rowHeights[r] = h;
                        remeasured = true;
                    }
                }
            }
            if (!(m_reorder && m_reorder->cell == cell))
                cell->setFrame(CGRectMake(0, sec.rowTops[r], bounds().width(), sec.rowHeights[r]));
            if (cell->superview().get() != this) {
                insertSubviewAtIndex(cell, static_cast<long>(rowViewInsertionIndex()));
                if (platform::responds(d, "tableView:willDisplayCell:forRowAtIndexPath:"))
                    msgSend<void, T, Ref<UITableViewCell>, P>(d.get(), sel("tableView:willDisplayCell:forRowAtIndexPath:"),
                                                             self<UITableView>(), cell, obj(path));
            }
        }
        if (!remeasured) {
            updateHeaders(visible);
            break;
        }
        computeGeometry();
    }
    if (m_backgroundView) {
        m_backgroundView->setFrame(bounds());
        sendSubviewToBack(m_backgroundView);
    }
    if (m_reorder) bringSubviewToFront(m_reorder->cell);
}

void UITableView::updateHeaders(CGRect visible) {
    auto ds = dataSource();
    auto d = delegate();
    auto me = self<UITableView>();
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        long s = static_cast<long>(i);
        const auto& sec = m_sections[i];
        CGRect rect = CGRectMake(0, sec.top, bounds().width(), sec.headerHeight);
        bool shown = sec.headerHeight > 0 && rect.maxY() > visible.minY() && rect.minY() < visible.maxY();
        auto it = m_headers.find(s);
        if (!shown) {
            if (it != m_headers.end()) {
                it->second->removeFromSuperview();
                m_headers.erase(it);
            }
            continue;
        }
        if (it == m_headers.end()) {
            Ref<UIView> view;
            if (platform::responds(d, "tableView:viewForHeaderInSection:"))
                view = msgSend<Ref<UIView>, T, long>(d.get(), sel("tableView:viewForHeaderInSection:"), me, s);
            if (!view && !sec.title.empty()) {
                auto header = alloc<UITableViewHeaderFooterView>();
                header->initWithReuseIdentifier("");
                header->setGroupedStyle(m_style != UITableViewStylePlain);
                header->textLabel()->setText(sec.title);
                header->setSection(s);
                view = header;
            }
            if (!view) continue;
            it = m_headers.emplace(s, view).first;
            view->setFrame(rect);
            insertSubviewAtIndex(view, static_cast<long>(rowViewInsertionIndex()));
            if (platform::responds(d, "tableView:willDisplayHeaderView:forSection:"))
                msgSend<void, T, Ref<UIView>, long>(d.get(), sel("tableView:willDisplayHeaderView:forSection:"), me,
                                                    view, s);
        }
        it->second->setFrame(rect);
    }
}

// Rows and headers that come on screen go beneath the views others added to the table, as on the device: a view
// laid over the rows (the add-on's dashboard over the Settings list) stays over them when rows are reloaded.
std::size_t UITableView::rowViewInsertionIndex() const {
    const auto& views = subviews();
    for (std::size_t i = 0; i < views.size(); ++i) {
        const Ref<UIView>& v = views[i];
        if (cast<UITableViewCell>(v) || v == m_backgroundView || v == m_tableHeader || v == m_tableFooter) continue;
        bool header = false;
        for (const auto& [section, view] : m_headers) header = header || view == v;
        if (!header) return i;
    }
    return views.size();
}

void UITableView::layoutSubviews() {
    UIScrollView::layoutSubviews();
    if (!m_loaded && dataSource()) {
        loadModel();
    } else if (m_loaded) {
        computeGeometry();
    }
    updateVisibleCells();
}

void UITableView::contentOffsetDidChange() { updateVisibleCells(); }

void UITableView::setTableHeaderView(Ref<UIView> view) {
    if (m_tableHeader) m_tableHeader->removeFromSuperview();
    m_tableHeader = std::move(view);
    if (m_tableHeader) addSubview(m_tableHeader);
    if (m_loaded) {
        computeGeometry();
        updateVisibleCells();
    }
}

void UITableView::setTableFooterView(Ref<UIView> view) {
    if (m_tableFooter) m_tableFooter->removeFromSuperview();
    m_tableFooter = std::move(view);
    if (m_tableFooter) addSubview(m_tableFooter);
    if (m_loaded) {
        computeGeometry();
        updateVisibleCells();
    }
}

void UITableView::setBackgroundView(Ref<UIView> view) {
    if (m_backgroundView) m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubviewAtIndex(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

void UITableView::setEditingAnimated(bool editing, bool) {
    if (m_editing == editing) return;
    m_editing = editing;
    for (auto& [path, cell] : m_cells) configureCell(cell, path);
}

// ----- selection -----

void UITableView::selectRowAtIndexPathAnimatedScrollPosition(IndexPath path, bool animated,
                                                            UITableViewScrollPosition position) {
    ensureLoaded();
    if (!rowExists(path)) return;
    if (!m_allowsMultiple) {
        for (auto& p : m_selected)
            if (auto c = cellForRowAtIndexPath(p)) c->setSelectedAnimated(false, animated);
        m_selected.clear();
    }
    if (std::find(m_selected.begin(), m_selected.end(), path) == m_selected.end()) m_selected.push_back(path);
    if (position != UITableViewScrollPositionNone) scrollToRowAtIndexPathAtScrollPositionAnimated(path, position, animated);
    if (auto c = cellForRowAtIndexPath(path)) c->setSelectedAnimated(true, animated);
}

void UITableView::deselectRowAtIndexPathAnimated(IndexPath path, bool animated) {
    std::erase(m_selected, path);
    if (auto c = cellForRowAtIndexPath(path)) c->setSelectedAnimated(false, animated);
}

std::optional<IndexPath> UITableView::indexPathForSelectedRow() const {
    if (m_selected.empty()) return std::nullopt;
    return *std::min_element(m_selected.begin(), m_selected.end());
}

std::vector<IndexPath> UITableView::indexPathsForSelectedRows() const {
    auto out = m_selected;
    std::sort(out.begin(), out.end());
    return out;
}

void UITableView::tapAt(CGPoint point) {
    auto path = indexPathForRowAtPoint(point);
    if (path) tapRow(*path);
}

void UITableView::tapRow(IndexPath path) {
    if (!m_allowsSelection || (m_editing && !m_allowsSelectionDuringEditing)) return;
    auto d = delegate();
    auto me = self<UITableView>();
    bool already = std::find(m_selected.begin(), m_selected.end(), path) != m_selected.end();
    if (m_allowsMultiple && already) {
        deselectRowAtIndexPathAnimated(path, true);
        if (platform::responds(d, "tableView:didDeselectRowAtIndexPath:"))
            msgSend<void, T, P>(d.get(), sel("tableView:didDeselectRowAtIndexPath:"), me, obj(path));
        return;
    }
    if (!m_allowsMultiple) {
        auto previous = m_selected;
        for (auto& p : previous) {
            if (p == path) continue;
            deselectRowAtIndexPathAnimated(p, true);
            if (platform::responds(d, "tableView:didDeselectRowAtIndexPath:"))
                msgSend<void, T, P>(d.get(), sel("tableView:didDeselectRowAtIndexPath:"), me, obj(p));
        }
    }
    selectRowAtIndexPathAnimatedScrollPosition(path, true, UITableViewScrollPositionNone);
    if (platform::responds(d, "tableView:didSelectRowAtIndexPath:"))
        msgSend<void, T, P>(d.get(), sel("tableView:didSelectRowAtIndexPath:"), me, obj(path));
}

// ----- scrolling -----

void UITableView::scrollToRowAtIndexPathAtScrollPositionAnimated(IndexPath path, UITableViewScrollPosition position,
                                                                 bool animated) {
    ensureLoaded();
    if (!rowExists(path)) {
        std::ostringstream os;
        os << "Attempted to scroll the table view to an out-of-bounds row (" << path.row << ") when there are only "
           << numberOfRowsInSection(path.section) << " rows in section " << path.section << ".";
        throw NSInternalInconsistencyException(os.str());
    }
    CGRect row = rectForRowAtIndexPath(path);
    // The positions refer to the visible area inside the insets (below a translucent bar), as on the device.
    const UIEdgeInsets inset = adjustedContentInset();
    CGFloat h = bounds().height();
    CGFloat visible = h - inset.top - inset.bottom;
    CGFloat y = contentOffset().y;
    switch (position) {
        case UITableViewScrollPositionTop: y = row.minY() - inset.top; break;
        case UITableViewScrollPositionMiddle: y = row.midY() - inset.top - visible / 2; break;
        case UITableViewScrollPositionBottom: y = row.maxY() - h + inset.bottom; break;
        default:
            if (row.minY() < y + inset.top) y = row.minY() - inset.top;
            else if (row.maxY() > y + h - inset.bottom) y = row.maxY() - h + inset.bottom;
            break;
    }
    CGFloat minY = minimumContentOffset().y, maxY = maximumContentOffset().y;
    setContentOffsetAnimated({contentOffset().x, std::clamp(y, minY, maxY)}, animated);
}

// ----- batch updates -----

void UITableView::beginUpdates() {
    ensureLoaded();
    if (m_updateDepth++ == 0) m_batch = TableUpdateBatch{};
}

void UITableView::endUpdates() {
    if (m_updateDepth == 0) throw NSInternalInconsistencyException("endUpdates without beginUpdates");
    if (--m_updateDepth > 0) return;
    TableUpdateBatch batch = std::move(m_batch);
    m_batch = TableUpdateBatch{};
    std::vector<long> before;
    for (const auto& sec : m_sections) before.push_back(static_cast<long>(sec.rowHeights.size()));
    batch.check(before, dataSourceCounts());
    if (!batch.isEmpty()) applyBatch(batch);
}

void UITableView::insertRowsAtIndexPathsWithRowAnimation(const std::vector<IndexPath>& paths, UITableViewRowAnimation) {
    beginUpdates();
    m_batch.insertRows(paths);
    endUpdates();
}

void UITableView::deleteRowsAtIndexPathsWithRowAnimation(const std::vector<IndexPath>& paths, UITableViewRowAnimation) {
    beginUpdates();
    m_batch.deleteRows(paths);
    endUpdates();
}

void UITableView::applyBatch(const TableUpdateBatch& batch) {
    // Where each old row goes: survivors keep their order and fill the places the insertions leave.
    std::map<long, std::set<long>> deleted, inserted;
    for (const auto& p : batch.deleted()) deleted[p.section].insert(p.row);
    for (const auto& p : batch.inserted()) inserted[p.section].insert(p.row);
    std::map<IndexPath, IndexPath> moves;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        long sec = static_cast<long>(s);
        long oldCount = static_cast<long>(m_sections[s].rowHeights.size());
        long next = 0;
        for (long r = 0; r < oldCount; ++r) {
            if (deleted[sec].count(r)) continue;
            while (inserted[sec].count(next)) ++next;
            moves[{sec, r}] = {sec, next++};
        }
    }
    std::map<IndexPath, Ref<UITableViewCell>> cells;
    for (auto& [path, cell] : m_cells) {
        auto it = moves.find(path);
        if (it == moves.end()) recycle(cell);
        else cells[it->second] = cell;
    }
    std::vector<IndexPath> selected;
    for (auto& p : m_selected)
        if (auto it = moves.find(p); it != moves.end()) selected.push_back(it->second);
    m_selected = std::move(selected);
    m_cells.clear();
    loadModel();
    // Loading measures rows of automatic height with cells of their own; a row that has none from before keeps the
    // one it was measured with, and any other such cell is recycled rather than left on screen under the real one.
    for (auto& [path, made] : m_cells) {
        auto it = cells.find(path);
        if (it == cells.end()) cells[path] = made;
        else if (it->second != made) recycle(made);
    }
    m_cells = std::move(cells);
    updateVisibleCells();
}

// ----- reordering -----

bool UITableView::claimsTouchAt(CGPoint point) {
    if (!m_editing) return false;
    auto path = indexPathForRowAtPoint(point);
    if (!path) return false;
    auto cell = cellForRowAtIndexPath(*path);
    if (!cell || !cell->reorderControl()) return false;
    if (point.x < bounds().width() - UITableViewCell::kReorderControlWidth) return false;
    m_reorder = Reorder{*path, cell, point.y - cell->frame().minY()};
    bringSubviewToFront(cell);
    return true;
}

void UITableView::claimedTouchMoved(CGPoint point) {
    if (!m_reorder) return;
    CGRect f = m_reorder->cell->frame();
    f.origin.y = point.y - m_reorder->grabOffset;
    m_reorder->cell->setFrame(f);
}

IndexPath UITableView::destinationFor(CGFloat centerY) const {
    // The slots a row can drop into, each at the edge where the row would start; the nearest one wins, which moves
    // a row past a neighbour once its centre passes the neighbour's centre.
    IndexPath best = m_reorder->source;
    CGFloat bestDistance = INFINITY;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        const auto& sec = m_sections[s];
        std::vector<std::size_t> rows;
        for (std::size_t r = 0; r < sec.rowTops.size(); ++r)
            if (!(static_cast<long>(s) == m_reorder->source.section && static_cast<long>(r) == m_reorder->source.row))
                rows.push_back(r);
        for (std::size_t slot = 0; slot <= rows.size(); ++slot) {
            CGFloat y;
            if (slot < rows.size()) y = sec.rowTops[rows[slot]];
            else if (!rows.empty()) y = sec.rowTops[rows.back()] + sec.rowHeights[rows.back()];
            else y = sec.top + sec.headerHeight;
            CGFloat distance = std::fabs(y - centerY);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = {static_cast<long>(s), static_cast<long>(slot)};
            }
        }
    }
    return best;
}

void UITableView::claimedTouchEnded(CGPoint point) {
    if (!m_reorder) return;
    CGFloat center = point.y - m_reorder->grabOffset + m_reorder->cell->frame().height() / 2;
    IndexPath from = m_reorder->source;
    IndexPath to = destinationFor(center);
    auto d = delegate();
    if (platform::responds(d, "tableView:targetIndexPathForMoveFromRowAtIndexPath:toProposedIndexPath:")) {
        auto target = msgSend<P, T, P, P>(d.get(), sel("tableView:targetIndexPathForMoveFromRowAtIndexPath:toProposedIndexPath:"),
                                          self<UITableView>(), obj(from), obj(to));
        if (target) to = target->value();
    }
    m_reorder.reset();
    commitMove(from, to);
}

void UITableView::claimedTouchCancelled() {
    if (!m_reorder) return;
    m_reorder.reset();
    updateVisibleCells();
}

void UITableView::commitMove(IndexPath from, IndexPath to) {
    if (from != to) {
        auto& src = m_sections[static_cast<std::size_t>(from.section)];
        CGFloat h = src.rowHeights[static_cast<std::size_t>(from.row)];
        bool measured = src.measured[static_cast<std::size_t>(from.row)];
        src.rowHeights.erase(src.rowHeights.begin() + from.row);
        src.measured.erase(src.measured.begin() + from.row);
        auto& dst = m_sections[static_cast<std::size_t>(to.section)];
        dst.rowHeights.insert(dst.rowHeights.begin() + to.row, h);
        dst.measured.insert(dst.measured.begin() + to.row, measured);

        // Renumber the rows between the two places, cells and selection alike.
        auto remap = [&](IndexPath p) -> IndexPath {
            if (p == from) return to;
            IndexPath q = p;
            if (q.section == from.section && q.row > from.row) --q.row;
            if (q.section == to.section && q.row >= to.row) ++q.row;
            return q;
        };
        std::map<IndexPath, Ref<UITableViewCell>> cells;
        for (auto& [path, cell] : m_cells) cells[remap(path)] = cell;
        m_cells = std::move(cells);
        for (auto& p : m_selected) p = remap(p);
        computeGeometry();
    }
    updateVisibleCells();
    auto ds = dataSource();
    auto d = delegate();
    auto me = self<UITableView>();
    if (from != to && platform::responds(ds, "tableView:moveRowAtIndexPath:toIndexPath:"))
        msgSend<void, T, P, P>(ds.get(), sel("tableView:moveRowAtIndexPath:toIndexPath:"), me, obj(from), obj(to));
    if (platform::responds(d, "tableView:didEndReorderingRowAtIndexPath:"))
        msgSend<void, T, P>(d.get(), sel("tableView:didEndReorderingRowAtIndexPath:"), me, obj(to));
}
