#include "prefs/changelog/VNTChangelogTableView.h"

#include "prefs/drawer/VNTTheme.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITapGestureRecognizer.h"

#include <numbers>

VT_REGISTER_CLASS(VNTChangelogTableView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTChangelogTableView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTChangelogTableView::numberOfSectionsInTableView>(c, "numberOfSectionsInTableView:");
    addMethod<&VNTChangelogTableView::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&VNTChangelogTableView::tableViewTitleForHeaderInSection>(c, "tableView:titleForHeaderInSection:");
    addMethod<&VNTChangelogTableView::tableViewHeightForHeaderInSection>(c, "tableView:heightForHeaderInSection:");
    addMethod<&VNTChangelogTableView::tableViewWillDisplayHeaderViewForSection>(
        c, "tableView:willDisplayHeaderView:forSection:");
    addMethod<&VNTChangelogTableView::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&VNTChangelogTableView::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    addMethod<&VNTChangelogTableView::sectionHeaderWasTouched>(c, "sectionHeaderWasTouched:");
    addMethod<&VNTChangelogTableView::tableViewExpandSectionWithImage>(c, "tableViewExpandSection:withImage:");
    addMethod<&VNTChangelogTableView::tableViewCollapeSectionWithImage>(c, "tableViewCollapeSection:withImage:");
    addMethod<&VNTChangelogTableView::updateTableViewRowDisplay>(c, "updateTableViewRowDisplay:");
})

using platform::msgSend;

namespace {

// The versions, newest first, with their notes.
struct ChangelogVersion {
    std::string_view title;
    std::vector<std::string_view> notes;
};

const std::vector<ChangelogVersion>& changelogVersions() {
    static const std::vector<ChangelogVersion> versions{
        {"Version 1.1", {"Coming soon..."}},
        {"Version 1.0", {"Wax and polish settings"}},
    };
    return versions;
}

constexpr const char* kCellIdentifier = "ChangelogCell";
constexpr CGFloat kRowEstimate = 100;
constexpr CGFloat kChevronInsetFromRight = 32;
constexpr CGRect kChevronFrame{{0, 13}, {18, 18}};
constexpr CGFloat kEmptyFontSize = 20;

}  // namespace

void VNTChangelogTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_sectionNames.clear();
    m_sectionItems.clear();
    for (const auto& version : changelogVersions()) {
        m_sectionNames.emplace_back(version.title);
        m_sectionItems.emplace_back(version.notes.begin(), version.notes.end());
    }

    m_tableView = alloc<UITableView>();
    m_tableView->initWithFrame(bounds());
    m_tableView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    m_tableView->setBackgroundColor(UIColor::clearColor());
    // An empty footer ends the table after the last row, so no empty rows are drawn below it.
    auto footer = alloc<UIView>();
    footer->initWithFrame(CGRectZero);
    m_tableView->setTableFooterView(footer);
    m_tableView->setRowHeight(UITableViewAutomaticDimension);
    m_tableView->setEstimatedRowHeight(kRowEstimate);
    m_tableView->setDataSource(self());
    m_tableView->setDelegate(self());
    addSubview(m_tableView);
    m_expandedSectionHeaderNumber = -1;
}

const std::vector<std::string>& VNTChangelogTableView::notesOf(long section) const {
    static const std::vector<std::string> none;
    if (section < 0 || static_cast<std::size_t>(section) >= m_sectionItems.size()) return none;
    return m_sectionItems[static_cast<std::size_t>(section)];
}

std::vector<IndexPath> VNTChangelogTableView::rowsOf(long section) const {
    std::vector<IndexPath> rows;
    const auto count = static_cast<long>(notesOf(section).size());
    for (long row = 0; row < count; ++row) rows.push_back({section, row});
    return rows;
}

long VNTChangelogTableView::numberOfSectionsInTableView(Ref<UITableView> tableView) {
    if (!m_sectionNames.empty()) {
        tableView->setBackgroundView(nullptr);
        return static_cast<long>(m_sectionNames.size());
    }
    auto message = alloc<UILabel>();
    message->initWithFrame(bounds());
    message->setText(kEmptyText);
    message->setNumberOfLines(2);
    message->setTextAlignment(NSTextAlignmentCenter);
    message->setFont(UIFont::fontWithNameSize("Helvetica Neue", kEmptyFontSize));
    tableView->setBackgroundView(message);
    return 0;
}

long VNTChangelogTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long section) {
    if (section != m_expandedSectionHeaderNumber) return 0;
    return static_cast<long>(notesOf(section).size());
}

std::string VNTChangelogTableView::tableViewTitleForHeaderInSection(Ref<UITableView>, long section) {
    if (section < 0 || static_cast<std::size_t>(section) >= m_sectionNames.size()) return "";
    return m_sectionNames[static_cast<std::size_t>(section)];
}

CGFloat VNTChangelogTableView::tableViewHeightForHeaderInSection(Ref<UITableView>, long) { return kHeaderHeight; }

void VNTChangelogTableView::tableViewWillDisplayHeaderViewForSection(Ref<UITableView>, Ref<UIView> view,
                                                                     long section) {
    auto header = cast<UITableViewHeaderFooterView>(view);
    if (!header) return;
    header->contentView()->setBackgroundColor(m_headerColor);
    header->textLabel()->setTextColor(UIColor::whiteColor());

    // A header shown again (after a scroll or a batch) gets a fresh chevron in place of the one it had.
    if (auto old = viewWithTag(section + kChevronTagBase)) old->removeFromSuperview();
    auto chevron = alloc<UIImageView>();
    CGRect frame = kChevronFrame;
    frame.origin.x = this->frame().size.width - kChevronInsetFromRight;
    chevron->initWithFrame(frame);
    chevron->setImage(UIImage::imageWithContentsOfFile(vnt::assetPath("Default/Icons/chevron.png")));
    chevron->setTag(section + kChevronTagBase);
    header->addSubview(chevron);
    header->setTag(section);

    auto tap = alloc<UITapGestureRecognizer>();
    tap->initWithTargetAction(self(), sel("sectionHeaderWasTouched:"));
    header->addGestureRecognizer(tap);
}

Ref<UITableViewCell> VNTChangelogTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                          Ref<NSIndexPath> path) {
    auto cell = tableView->dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) {
        cell = alloc<UITableViewCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, kCellIdentifier);
    }
    cell->setBackgroundColor(UIColor::clearColor());
    const auto label = cell->textLabel();
    label->setNumberOfLines(0);
    label->setAutoresizingMask(UIViewAutoresizingFlexibleHeight);
    label->setTextColor(UIColor::blackColor());
    const IndexPath p = path->value();
    const auto& notes = notesOf(p.section);
    label->setText(p.row >= 0 && static_cast<std::size_t>(p.row) < notes.size()
                       ? notes[static_cast<std::size_t>(p.row)]
                       : std::string());
    return cell;
}

void VNTChangelogTableView::tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path) {
    tableView->deselectRowAtIndexPathAnimated(path->value(), true);
}

void VNTChangelogTableView::sectionHeaderWasTouched(id sender) {
    auto recognizer = cast<UIGestureRecognizer>(sender);
    auto header = recognizer ? cast<UITableViewHeaderFooterView>(recognizer->view()) : nullptr;
    if (!header) return;
    const long section = header->tag();
    auto chevron = cast<UIImageView>(header->viewWithTag(section + kChevronTagBase));
    m_expandedSectionHeader = header;

    if (m_expandedSectionHeaderNumber == -1) {
        m_expandedSectionHeaderNumber = section;
        msgSend(this, sel("tableViewExpandSection:withImage:"), section, chevron);
    } else if (m_expandedSectionHeaderNumber == section) {
        msgSend(this, sel("tableViewCollapeSection:withImage:"), section, chevron);
        m_expandedSectionHeader = nullptr;
    } else {
        const long open = m_expandedSectionHeaderNumber;
        auto openChevron = cast<UIImageView>(m_tableView->viewWithTag(open + kChevronTagBase));
        msgSend(this, sel("tableViewCollapeSection:withImage:"), open, openChevron);
        msgSend(this, sel("tableViewExpandSection:withImage:"), section, chevron);
    }
}

void VNTChangelogTableView::tableViewExpandSectionWithImage(long section, Ref<UIImageView> chevron) {
    const auto rows = rowsOf(section);
    if (rows.empty()) {
        m_expandedSectionHeaderNumber = -1;
        return;
    }
    UIView::animateWithDurationAnimations(kChevronTurnDuration, [chevron] {
        if (chevron) chevron->setTransform(CGAffineTransformMakeRotation(std::numbers::pi));
    });
    m_expandedSectionHeaderNumber = section;
    m_tableView->beginUpdates();
    m_tableView->insertRowsAtIndexPathsWithRowAnimation(rows, UITableViewRowAnimationFade);
    m_tableView->endUpdates();
}

void VNTChangelogTableView::tableViewCollapeSectionWithImage(long section, Ref<UIImageView> chevron) {
    m_expandedSectionHeaderNumber = -1;
    const auto rows = rowsOf(section);
    if (rows.empty()) return;
    UIView::animateWithDurationAnimations(kChevronTurnDuration, [chevron] {
        if (chevron) chevron->setTransform(CGAffineTransformMakeRotation(0));
    });
    m_tableView->beginUpdates();
    m_tableView->deleteRowsAtIndexPathsWithRowAnimation(rows, UITableViewRowAnimationFade);
    m_tableView->endUpdates();
}

void VNTChangelogTableView::updateTableViewRowDisplay(Ref<NSObject> paths) {
    auto array = cast<NSMutableArray>(paths);
    if (!array) return;
    std::vector<IndexPath> rows;
    for (std::size_t i = 0; i < array->count(); ++i)
        if (auto path = array->objectAtIndexAs<NSIndexPath>(i)) rows.push_back(path->value());
    m_tableView->beginUpdates();
    m_tableView->deleteRowsAtIndexPathsWithRowAnimation(rows, UITableViewRowAnimationFade);
    m_tableView->endUpdates();
}
