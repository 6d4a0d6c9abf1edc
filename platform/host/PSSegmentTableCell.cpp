// PSSegmentTableCell (declared in PSTableCell.h with the framework's other rows).
#include "platform/host/PSTableCell.h"

#include "platform/core/Runtime.h"
#include "platform/host/PSListItemsController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISegmentedControl.h"

#include <algorithm>
#include <optional>

VT_REGISTER_CLASS_IN(PSSegmentTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSegmentTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSegmentTableCell::segmentChanged>(c, "segmentChanged:");
})

namespace {

// A copy: properties are handed out by value.
std::optional<Value::Array> arrayProperty(const PSSpecifier& specifier, std::string_view key) {
    if (auto p = specifier.propertyForKey(key); p && p->value())
        if (const auto* array = p->value()->asArray()) return *array;
    return std::nullopt;
}

}  // namespace

void PSSegmentTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style,
                                                               std::string reuseIdentifier,
                                                               Ref<PSSpecifier> specifier) {
    auto control = alloc<UISegmentedControl>();
    control->initWithItems({});
    control->addTargetActionForControlEvents(self(), sel("segmentChanged:"), UIControlEventValueChanged);
    m_control = control;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    contentView()->addSubview(m_control);
}

void PSSegmentTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel()->setText("");
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto control = cast<UISegmentedControl>(m_control);
    if (!specifier || !control) return;
    control->removeAllSegments();
    if (auto titles = arrayProperty(*specifier, "validTitles"))
        for (const Value& title : *titles)
            control->insertSegmentWithTitleAtIndexAnimated(title.asString() ? *title.asString() : std::string(),
                                                           control->numberOfSegments(), false);
    // Matched as a link list matches its values (1 chooses the segment of 1.0); none when nothing matches.
    const auto selected = PSListItemsController::indexOfValue(*specifier, specifier->performGetter());
    control->setSelectedSegmentIndex(selected ? static_cast<long>(*selected) : UISegmentedControl::kNoSegment);
    setNeedsLayout();
}

void PSSegmentTableCell::segmentChanged(id) {
    auto control = cast<UISegmentedControl>(m_control);
    if (!control || !m_specifier) return;
    const auto values = arrayProperty(*m_specifier, "validValues");
    const long index = control->selectedSegmentIndex();
    if (!values || index < 0 || static_cast<std::size_t>(index) >= values->size()) return;
    m_specifier->performSetterWithValue((*values)[static_cast<std::size_t>(index)]);
}

void PSSegmentTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const CGRect content = contentView()->bounds();
    m_control->setFrame(CGRectMake(kSideMargin, (content.height() - UISegmentedControl::kHeight) / 2,
                                   std::max<CGFloat>(0, content.width() - 2 * kSideMargin),
                                   UISegmentedControl::kHeight));
}
