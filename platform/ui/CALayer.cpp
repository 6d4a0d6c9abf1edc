#include "platform/ui/CALayer.h"

#include "platform/core/Runtime.h"

#include "platform/ui/AnimationCenter.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/UIView.h"

#include <algorithm>
#include <cmath>
#include <sstream>

VT_REGISTER_CLASS(CALayer)

Ref<CALayer> CALayer::layer() {
    auto l = alloc<CALayer>();
    l->init();
    return l;
}

// A view's layer has no geometry of its own: it reads and writes the view's, so the two never disagree.
CGRect CALayer::frame() const {
    if (auto v = m_view.lock()) return v->frame();
    return m_frame;
}

void CALayer::setFrame(CGRect frame) {
    if (auto v = m_view.lock()) return v->setFrame(frame);
    m_frame = frame;
}

CGRect CALayer::bounds() const {
    if (auto v = m_view.lock()) return v->bounds();
    return {{0, 0}, m_frame.size};
}

void CALayer::setBounds(CGRect bounds) {
    if (auto v = m_view.lock()) return v->setBounds(bounds);
    CGPoint c{m_frame.midX(), m_frame.midY()};
    m_frame = {{c.x - bounds.width() / 2, c.y - bounds.height() / 2}, bounds.size};
}

CGPoint CALayer::position() const {
    if (auto v = m_view.lock()) return v->center();
    return {m_frame.midX(), m_frame.midY()};
}

void CALayer::setPosition(CGPoint p) {
    if (auto v = m_view.lock()) return v->setCenter(p);
    m_frame.origin = {p.x - m_frame.width() / 2, p.y - m_frame.height() / 2};
}

void CALayer::setCornerRadius(CGFloat radius) {
    auto& center = platform::AnimationCenter::shared();
    if (center.isCapturing() && radius != m_cornerRadius)
        center.recordChange(self<CALayer>(), "cornerRadius", {m_cornerRadius}, {radius});
    m_cornerRadius = radius;
}

void CALayer::setZPosition(CGFloat z) { m_zPosition = z; }

bool CALayer::masksToBounds() const {
    if (auto v = m_view.lock()) return v->clipsToBounds();
    return m_masksToBounds;
}

void CALayer::setMasksToBounds(bool masks) {
    if (auto v = m_view.lock()) return v->setClipsToBounds(masks);
    m_masksToBounds = masks;
}

double CALayer::opacity() const {
    if (auto v = m_view.lock()) return v->alpha();
    return m_opacity;
}

void CALayer::setOpacity(double opacity) {
    if (auto v = m_view.lock()) return v->setAlpha(opacity);
    m_opacity = opacity;
}

bool CALayer::isHidden() const {
    if (auto v = m_view.lock()) return v->isHidden();
    return m_hidden;
}

void CALayer::setHidden(bool hidden) {
    if (auto v = m_view.lock()) return v->setHidden(hidden);
    m_hidden = hidden;
}

void CALayer::setMask(Ref<CALayer> mask) { m_mask = std::move(mask); }

void CALayer::addSublayer(const Ref<CALayer>& layer) {
    insertSublayerAtIndex(layer, static_cast<unsigned>(m_sublayers.size()));
}

void CALayer::insertSublayerAtIndex(const Ref<CALayer>& layer, unsigned index) {
    if (!layer || layer.get() == this) return;
    Ref<CALayer> keep = layer;  // removing from the old parent may drop the last strong reference
    keep->removeFromSuperlayer();
    index = std::min<unsigned>(index, static_cast<unsigned>(m_sublayers.size()));
    m_sublayers.insert(m_sublayers.begin() + index, keep);
    keep->m_superlayer = self<CALayer>();
}

void CALayer::removeFromSuperlayer() {
    auto parent = m_superlayer.lock();
    m_superlayer.reset();
    if (!parent) return;
    auto& list = parent->m_sublayers;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const Ref<CALayer>& l) { return l.get() == this; }),
               list.end());
}

void CALayer::addAnimationForKey(const Ref<CABasicAnimation>& animation, std::string_view key) {
    if (!animation) return;
    auto model = modelValue(animation->keyPath());
    double base = model.value_or(0);
    double from = animation->fromValue().value_or(base);
    double to = animation->toValue().value_or(base);
    platform::AnimationCenter::shared().addBasic(self<CALayer>(), animation, key, {from}, {to});
}

void CALayer::removeAnimationForKey(std::string_view key) { platform::AnimationCenter::shared().remove(this, key); }

void CALayer::removeAllAnimations() { platform::AnimationCenter::shared().removeAll(this); }

std::vector<std::string> CALayer::animationKeys() const { return platform::AnimationCenter::shared().keys(this); }

Ref<CABasicAnimation> CALayer::animationForKey(std::string_view key) const {
    return platform::AnimationCenter::shared().basicForKey(this, key);
}

std::optional<double> CALayer::modelValue(std::string_view keyPath) const {
    if (keyPath == "opacity") return opacity();
    if (keyPath == "borderWidth") return m_borderWidth;
    if (keyPath == "cornerRadius") return m_cornerRadius;
    if (keyPath == "zPosition") return m_zPosition;
    if (keyPath == "transform.rotation" || keyPath == "transform.rotation.z") {
        if (auto v = m_view.lock()) return std::atan2(v->transform().b, v->transform().a);
        return 0.0;
    }
    return std::nullopt;
}

std::optional<double> CALayer::presentationValue(std::string_view keyPath) const {
    auto model = modelValue(keyPath);
    if (!model) return std::nullopt;
    if (auto animated = platform::AnimationCenter::shared().presentation(this, keyPath); animated && !animated->empty())
        return animated->front();
    return model;
}

std::string CALayer::description() const {
    std::ostringstream out;
    out << "<" << className() << " frame=" << frame() << " radius=" << m_cornerRadius << ">";
    return out.str();
}
