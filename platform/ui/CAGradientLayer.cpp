#include "platform/ui/CAGradientLayer.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/DisplayScale.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIImage.h"

#include <cmath>

VT_REGISTER_CLASS(CAGradientLayer)

Ref<CAGradientLayer> CAGradientLayer::layer() {
    auto l = alloc<CAGradientLayer>();
    l->init();
    return l;
}

Ref<UIImage> CAGradientLayer::renderedImageOfSize(CGSize size) const {
    if (!(size.width > 0) || !(size.height > 0)) return nullptr;
    const double scale = platform::displayScale();
    Painter painter(static_cast<int>(std::ceil(size.width * scale)), static_cast<int>(std::ceil(size.height * scale)),
                    scale);
    std::vector<GradientStop> stops;
    for (std::size_t i = 0; i < m_colors.size(); ++i) {
        const double at = m_locations.size() == m_colors.size() ? m_locations[i]
                          : m_colors.size() > 1                 ? static_cast<double>(i) / (m_colors.size() - 1)
                                                                : 0;
        stops.push_back({at, platform::gfx::paintColor(m_colors[i])});
    }
    painter.fillLinearGradient(CGRectMake(0, 0, size.width, size.height), stops, m_start, m_end);
    return UIImage::imageWithBitmap(painter.takeBitmap(), scale, "gradient");
}
