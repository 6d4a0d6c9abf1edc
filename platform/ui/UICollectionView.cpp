#include "platform/ui/UICollectionView.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/UICollectionViewCell.h"
#include "platform/ui/TableUpdateBatch.h"

#include <set>
#include <sstream>

VT_REGISTER_CLASS(UICollectionView, [](Class c) {
    platform::runtime::addMethod<&UICollectionView::reloadData>(c, "reloadData");
})

using platform::msgSend;

namespace {
using C = Ref<UICollectionView>;
using P = Ref<NSIndexPath>;
}  // namespace

void UICollectionView::initWithFrame(CGRect frame) { initWithFrameCollectionViewLayout(frame, nullptr); }

void UICollectionView::initWithFrameCollectionViewLayout(CGRect frame, Ref<UICollectionViewFlowLayout> layout) {
    UIScrollView::initWithFrame(frame);
    if (!layout) {
        layout = alloc<UICollectionViewFlowLayout>();
        layout->init();
    }
    m_layout = std::move(layout);
    setBackgroundColor(UIColor::systemBackgroundColor());
}

void UICollectionView::setCollectionViewLayout(Ref<UICollectionViewFlowLayout> layout) {
    m_layout = std::move(layout);
    if (m_loaded) reloadData();
}

void UICollectionView::setDataSource(const id& dataSource) {
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void UICollectionView::registerClassForCellWithReuseIdentifier(Class cellClass, const std::string& identifier) {
    m_classes[identifier] = cellClass;
}

Ref<UICollectionViewCell> UICollectionView::dequeueReusableCellWithReuseIdentifierForIndexPath(
    const std::string& identifier, IndexPath path) {
    CGRect frame = frameForItemAtIndexPath(path);
    auto& pool = m_reusable[identifier];
    if (!pool.empty()) {
        auto cell = pool.back();
        pool.pop_back();
        msgSend(cell.get(), sel("prepareForReuse"));
        cell->setFrame(frame);
        return cell;
    }
    auto it = m_classes.find(identifier);
    if (it == m_classes.end() || !it->second)
        throw NSInternalInconsistencyException("could not dequeue a view of kind: UICollectionElementKindCell with "
                                               "identifier " + identifier +
                                               " - must register a nib or a class for the identifier");
    auto cell = cast<UICollectionViewCell>(platform::runtime::createInstance(it->second));
    if (!cell)
        throw NSInternalInconsistencyException("the class registered for " + identifier +
                                               " is not a UICollectionViewCell");
    msgSend<void, CGRect>(cell.get(), sel("initWithFrame:"), frame);
    cell->setReuseIdentifier(identifier);
    ++m_createdCells;
    return cell;
}

void UICollectionView::ensureLoaded() {
    if (!m_loaded) loadModel();
}

void UICollectionView::loadModel() {
    auto ds = dataSource();
    auto d = delegate();
    auto me = self<UICollectionView>();
    long sections = 0;
    if (ds)
        sections = platform::responds(ds, "numberOfSectionsInCollectionView:")
                       ? msgSend<long, C>(ds.get(), sel("numberOfSectionsInCollectionView:"), me)
                       : 1;
    bool sized = platform::responds(d, "collectionView:layout:sizeForItemAtIndexPath:");
    std::vector<std::vector<CGSize>> sizes;
    for (long s = 0; s < sections; ++s) {
        long n = std::max(0L, msgSend<long, C, long>(ds.get(), sel("collectionView:numberOfItemsInSection:"), me, s));
        std::vector<CGSize> section;
        for (long i = 0; i < n; ++i) {
            section.push_back(sized ? msgSend<CGSize, C, Ref<UICollectionViewFlowLayout>, P>(
                                          d.get(), sel("collectionView:layout:sizeForItemAtIndexPath:"), me, m_layout,
                                          NSIndexPath::indexPathForItemInSection(i, s))
                                    : m_layout->itemSize());
        }
        sizes.push_back(std::move(section));
    }
    UIEdgeInsets inset = contentInset();
    CGSize viewport{bounds().width() - inset.left - inset.right, bounds().height() - inset.top - inset.bottom};
    auto result = m_layout->layout(viewport, sizes);
    m_frames = std::move(result.frames);
    m_loaded = true;
    setContentSize(result.contentSize);
}

void UICollectionView::reloadData() {
    // Every shown cell goes back to its queue first, so the data source's dequeues reuse them. The cells stay in
    // the view meanwhile: most come straight back for the same items, and taking a view out of the tree and putting
    // it back is by far the dearest part of a reload. Only those not handed out again leave.
    std::vector<Ref<UICollectionViewCell>> shown;
    shown.reserve(m_cells.size());
    for (auto& [path, cell] : m_cells) {
        m_reusable[cell->reuseIdentifier()].push_back(cell);
        shown.push_back(cell);
    }
    m_cells.clear();
    loadModel();
    updateVisibleCells();
    // The next layout pass asks for the counts again, as a reload on the device leaves the layout invalid; a data
    // source whose answer changed during the reload is then heard.
    setNeedsLayout();
    if (shown.empty()) return;
    std::set<const UICollectionViewCell*> inUse;
    for (const auto& [path, cell] : m_cells) inUse.insert(cell.get());
    for (const auto& cell : shown)
        if (!inUse.count(cell.get()) && cell->superview().get() == this) cell->removeFromSuperview();
}

long UICollectionView::numberOfSections() {
    ensureLoaded();
    return static_cast<long>(m_frames.size());
}

long UICollectionView::numberOfItemsInSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= static_cast<long>(m_frames.size())) return 0;
    return static_cast<long>(m_frames[static_cast<std::size_t>(section)].size());
}

CGRect UICollectionView::frameForItemAtIndexPath(IndexPath path) {
    ensureLoaded();
    if (path.section < 0 || path.section >= static_cast<long>(m_frames.size())) return CGRectZero;
    const auto& section = m_frames[static_cast<std::size_t>(path.section)];
    if (path.row < 0 || path.row >= static_cast<long>(section.size())) return CGRectZero;
    return section[static_cast<std::size_t>(path.row)];
}

Ref<UICollectionViewCell> UICollectionView::cellForItemAtIndexPath(IndexPath path) const {
    auto it = m_cells.find(path);
    return it == m_cells.end() ? nullptr : it->second;
}

std::optional<IndexPath> UICollectionView::indexPathForCell(const Ref<UICollectionViewCell>& cell) const {
    for (const auto& [path, c] : m_cells)
        if (c == cell) return path;
    return std::nullopt;
}

std::optional<IndexPath> UICollectionView::indexPathForItemAtPoint(CGPoint point) const {
    for (std::size_t s = 0; s < m_frames.size(); ++s)
        for (std::size_t i = 0; i < m_frames[s].size(); ++i)
            if (m_frames[s][i].contains(point)) return IndexPath{static_cast<long>(s), static_cast<long>(i)};
    return std::nullopt;
}

std::vector<Ref<UICollectionViewCell>> UICollectionView::visibleCells() const {
    std::vector<Ref<UICollectionViewCell>> out;
    for (const auto& [path, cell] : m_cells) out.push_back(cell);
    return out;
}

std::vector<IndexPath> UICollectionView::indexPathsForVisibleItems() const {
    std::vector<IndexPath> out;
    for (const auto& [path, cell] : m_cells) out.push_back(path);
    return out;
}

void UICollectionView::updateVisibleCells() {
    if (!m_loaded || m_updating) return;
    m_updating = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_updating};
    CGRect visible = bounds();
    std::set<IndexPath> wanted;
    if (!visible.isEmpty())
        for (std::size_t s = 0; s < m_frames.size(); ++s)
            for (std::size_t i = 0; i < m_frames[s].size(); ++i)
                if (!m_frames[s][i].intersection(visible).isEmpty())
                    wanted.insert({static_cast<long>(s), static_cast<long>(i)});
    for (auto it = m_cells.begin(); it != m_cells.end();) {
        if (wanted.count(it->first)) {
            ++it;
            continue;
        }
        it->second->removeFromSuperview();
        m_reusable[it->second->reuseIdentifier()].push_back(it->second);
        it = m_cells.erase(it);
    }
    auto ds = dataSource();
    for (const auto& path : wanted) {
        auto found = m_cells.find(path);
        if (found != m_cells.end()) {
            found->second->setFrame(frameForItemAtIndexPath(path));
            continue;
        }
        auto cell = msgSend<Ref<UICollectionViewCell>, C, P>(ds.get(), sel("collectionView:cellForItemAtIndexPath:"),
                                                             self<UICollectionView>(),
                                                             NSIndexPath::indexPathForItemInSection(path.row, path.section));
        if (!cell) {
            std::ostringstream os;
            os << "the collection view's data source returned nil from -collectionView:cellForItemAtIndexPath: for "
                  "index path "
               << path;
            throw NSInternalInconsistencyException(os.str());
        }
        cell->setFrame(frameForItemAtIndexPath(path));
        m_cells[path] = cell;
        addSubview(cell);
    }
}

void UICollectionView::layoutSubviews() {
    UIScrollView::layoutSubviews();
    if (dataSource()) loadModel();
    updateVisibleCells();
}

void UICollectionView::contentOffsetDidChange() { updateVisibleCells(); }

void UICollectionView::tapAt(CGPoint point) {
    auto path = indexPathForItemAtPoint(point);
    auto d = delegate();
    if (path && platform::responds(d, "collectionView:didSelectItemAtIndexPath:"))
        msgSend<void, C, P>(d.get(), sel("collectionView:didSelectItemAtIndexPath:"), self<UICollectionView>(),
                            NSIndexPath::indexPathForItemInSection(path->row, path->section));
}
