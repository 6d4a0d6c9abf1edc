// The host hands a row that was shown for one entry to another entry of the same kind (after a reload or a scroll);
// every kit row made by "initWithStyle:reuseIdentifier:specifier:" then shows the new entry, nothing of the old.
#include "prefs/cells/VNTZRVCDescriptionCella.h"
#include "prefs/cells/VNTZRVCSliderCella.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSListController.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

#include <vector>

namespace {

using platform::msgSend;

class RowReuseTest : public kittest::KitFixture {
protected:
    static void expectShowsEntry(const Ref<PSTableCell>& cell, const Ref<PSSpecifier>& entry) {
        const std::string header = entry->stringProperty("header").value_or("");
        SCOPED_TRACE(header + " / " + entry->stringProperty("subtitle").value_or(""));
        if (auto slider = cast<VNTZRVCSliderCella>(cell)) {
            EXPECT_EQ(slider->headerLabel()->text(), header);
        } else if (auto text = cast<VNTZRVCDescriptionCella>(cell)) {
            EXPECT_EQ(text->headerLabel()->text(), header);
            EXPECT_EQ(text->descriptionTextView()->text().size(), header == "FAQ" ? 735u : 31u);
            EXPECT_EQ(text->headerLabel()->textColor()->rgba().alpha, header == "FAQ" ? 0 : 1);
        } else {
            auto icon = msgSend<Ref<UIImageView>>(cell, sel("iconImage"));
            auto subtitle = msgSend<Ref<UILabel>>(cell, sel("subtitleLabel"));
            EXPECT_EQ(subtitle->text(), entry->stringProperty("subtitle").value_or(""));
            const bool profile = cell->className() == "VNTZRVCProfileCella";
            if (!profile) {
                EXPECT_EQ(msgSend<Ref<UILabel>>(cell, sel("headerLabel"))->text(), header);
            }
            const bool picture = profile && subtitle->text() == "Configure profile";
            const bool themedIcon = header == "Example Link";
            EXPECT_EQ(icon->image() != nullptr, picture || themedIcon);
            EXPECT_EQ(icon->layer()->cornerRadius(), picture ? 8 : 0);
            EXPECT_EQ(icon->clipsToBounds(), picture);
        }
    }
};

TEST_F(RowReuseTest, ReusedRowsShowTheirNewEntry) {
    store(vantile::key::profilePicture, pngData(0xFF336699));
    std::vector<Ref<PSSpecifier>> entries{
        PSSpecifier::groupSpecifierWithName(""),
        kitEntry("VNTZRVCLinkCella", PSSpecifier::PSLinkCell, {{"header", "Example Link"}, {"subtitle", "one"}}),
        kitEntry("VNTZRVCLinkCella", PSSpecifier::PSLinkCell, {{"header", "Sections"}, {"subtitle", "two"}}),
        kitEntry("VNTZRVCLinkCella", PSSpecifier::PSLinkCell, {{"header", "Colours"}, {"subtitle", "three"}}),
        kitEntry("VNTZRVCProfileCella", PSSpecifier::PSLinkCell, {{"header", "Me"}, {"subtitle", "Configure profile"}}),
        kitEntry("VNTZRVCProfileCella", PSSpecifier::PSLinkCell, {{"header", "Me"}, {"subtitle", "Elsewhere"}}),
        kitEntry("VNTZRVCSliderCella", PSSpecifier::PSSliderCell, {{"header", "First slider"}}),
        kitEntry("VNTZRVCSliderCella", PSSpecifier::PSSliderCell, {{"header", "Second slider"}}),
        kitEntry("VNTZRVCDescriptionCella", PSSpecifier::PSStaticTextCell, {{"header", "FAQ"}}),
        kitEntry("VNTZRVCDescriptionCella", PSSpecifier::PSStaticTextCell, {{"header", "Example Description"}}),
    };
    for (const auto& e : entries)
        if (e->stringProperty("cellClass")) e->setPropertyForKey(Property(50.0), "height");
    auto page = alloc<PSListController>();
    showList(page, entries);
    auto table = page->table();

    // Each reload hands the rows out again, the last one given back first; two reloads in a row bring every row
    // back to a place it had, so each one is checked.
    bool anyMoved = false;
    for (int reload = 0; reload < 2; ++reload) {
        SCOPED_TRACE("reload " + std::to_string(reload));
        std::vector<Ref<UITableViewCell>> before;
        for (long r = 0; r < table->numberOfRowsInSection(0); ++r)
            before.push_back(table->cellForRowAtIndexPath(IndexPath{0, r}));
        table->reloadData();
        m_window->layoutIfNeeded();
        for (long r = 0; r < table->numberOfRowsInSection(0); ++r) {
            auto entry = page->specifierAtIndexPath(0, r);
            auto cell = cast<PSTableCell>(table->cellForRowAtIndexPath(IndexPath{0, r}));
            ASSERT_TRUE(entry && cell) << r;
            anyMoved = anyMoved || cell != before[static_cast<std::size_t>(r)];
            expectShowsEntry(cell, entry);
        }
    }
    EXPECT_TRUE(anyMoved) << "the reload should have handed some row to another entry";
}

}  // namespace
