#pragma once

// One entry of the card editor's lists: the card's title, whether it is in the selected list, and its position
// there. Only the title is ever stored; `enabled` follows from the list and `index` from the position.

#include "platform/core/Object.h"

#include <cstdint>
#include <string>

class VantileItems : public NSObject {
    VT_OBJECT(VantileItems, NSObject)
public:
    Ref<VantileItems> initWithHeaderEnabledIndex(std::string header, bool enabled, std::int32_t index);
    // An available (not selected) item.
    Ref<VantileItems> initWithHeaderIndex(std::string header, std::int32_t index);

    const std::string& header() const { return m_header; }
    void setHeader(std::string header) { m_header = std::move(header); }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    std::int32_t index() const { return m_index; }
    void setIndex(std::int32_t index) { m_index = index; }

    std::string description() const override;

private:
    std::string m_header;
    bool m_enabled = false;
    std::int32_t m_index = 0;
};
