#include "platform/ui/UIImageView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"

#include <algorithm>
#include <sstream>

VT_REGISTER_CLASS(UIImageView)

void UIImageView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setOpaque(false);
    setUserInteractionEnabled(false);
}

void UIImageView::initWithImage(Ref<UIImage> image) {
    const CGSize size = image ? image->size() : CGSize{};
    initWithFrame({{0, 0}, size});
    m_image = std::move(image);
}

void UIImageView::setImage(Ref<UIImage> image) {
    if (m_image == image) return;
    const bool sizeChanged = !m_image || !image || m_image->size() != image->size();
    m_image = std::move(image);
    if (sizeChanged) invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

CGSize UIImageView::intrinsicContentSize() {
    if (!m_image) return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
    return m_image->size();
}

CGSize UIImageView::sizeThatFits(CGSize) { return m_image ? m_image->size() : CGSize{}; }

CGRect UIImageView::imageRectForBounds(CGRect b) const {
    if (!m_image) return {};
    const CGSize s = m_image->size();
    if (s.width <= 0 || s.height <= 0) return {};
    auto placed = [&](CGFloat fx, CGFloat fy) {  // the image at its own size, fx/fy: 0 start, 0.5 centre, 1 end
        return CGRect{{b.minX() + (b.width() - s.width) * fx, b.minY() + (b.height() - s.height) * fy}, s};
    };
    switch (contentMode()) {
        case UIViewContentModeScaleAspectFit:
        case UIViewContentModeScaleAspectFill: {
            const CGFloat sx = b.width() / s.width, sy = b.height() / s.height;
            const CGFloat k = contentMode() == UIViewContentModeScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
            const CGSize d{s.width * k, s.height * k};
            return {{b.midX() - d.width / 2, b.midY() - d.height / 2}, d};
        }
        case UIViewContentModeCenter: return placed(0.5, 0.5);
        case 5: return placed(0.5, 0);    // top
        case 6: return placed(0.5, 1);    // bottom
        case 7: return placed(0, 0.5);    // left
        case 8: return placed(1, 0.5);    // right
        case 9: return placed(0, 0);      // top left
        case 10: return placed(1, 0);     // top right
        case 11: return placed(0, 1);     // bottom left
        case 12: return placed(1, 1);     // bottom right
        default: return b;                // scale to fill, redraw
    }
}

void UIImageView::drawRect(CGRect) {
    Painter* painter = UIGraphicsGetCurrentContext();
    if (!painter || !m_image) return;
    std::optional<PaintColor> tint;
    if (m_image->isTemplate()) {
        // Without a tint anywhere up the tree the device tints with the system blue.
        Ref<UIColor> t = tintColor();
        tint = platform::gfx::paintColor(t ? t : UIColor::systemBlueColor());
    }
    painter->save();
    // Aspect fill and the fixed-size modes may overflow; a view that does not clip still shows the overflow.
    painter->drawBitmap(m_image->bitmap(), imageRectForBounds(bounds()), 1.0, tint);
    painter->restore();
}

std::string UIImageView::description() const {
    std::ostringstream os;
    os << "<UIImageView " << frame() << " " << (m_image ? m_image->source() : std::string("(no image)")) << ">";
    return os.str();
}
