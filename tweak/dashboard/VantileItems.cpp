#include "tweak/dashboard/VantileItems.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(VantileItems)

Ref<VantileItems> VantileItems::initWithHeaderEnabledIndex(std::string header, bool enabled, std::int32_t index) {
    m_header = std::move(header);
    m_enabled = enabled;
    m_index = index;
    return self<VantileItems>();
}

Ref<VantileItems> VantileItems::initWithHeaderIndex(std::string header, std::int32_t index) {
    return initWithHeaderEnabledIndex(std::move(header), false, index);
}

std::string VantileItems::description() const {
    return "<VantileItems \"" + m_header + "\" " + (m_enabled ? "selected" : "available") + " #" +
           std::to_string(m_index) + ">";
}
