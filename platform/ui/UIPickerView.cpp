#include "platform/ui/UIPickerView.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITouch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

VT_REGISTER_CLASS(UIPickerView, [](Class c) {
    platform::runtime::addMethod<&UIPickerView::selectRowInComponentAnimated>(c, "selectRow:inComponent:animated:");
    platform::runtime::addMethod<&UIPickerView::selectedRowInComponent>(c, "selectedRowInComponent:");
    platform::runtime::addMethod<&UIPickerView::reloadAllComponents>(c, "reloadAllComponents");
})

using platform::msgSend;

namespace {

constexpr double kFrameSeconds = 1.0 / 60;
// A row nearer the rim than this (as the cosine of its angle on the drum) is not drawn.
constexpr double kRimCosine = 0.08;

}  // namespace

void UIPickerView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setClipsToBounds(true);
    m_band = alloc<UIView>();
    m_band->initWithFrame(CGRectZero);
    m_band->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.5, 0.18));
    m_band->layer()->setCornerRadius(8);
    m_band->setUserInteractionEnabled(false);
    addSubview(m_band);
}

long UIPickerView::askRows(long component) const {
    auto source = dataSource();
    if (!source || !source->respondsToSelector(sel("pickerView:numberOfRowsInComponent:"))) return 0;
    auto me = std::const_pointer_cast<UIPickerView>(self<UIPickerView>());
    return std::max(0L, msgSend<long, Ref<UIPickerView>, long>(source.get(), sel("pickerView:numberOfRowsInComponent:"),
                                                               me, component));
}

void UIPickerView::reloadAllComponents() {
    m_loaded = true;
    long count = 0;
    if (auto source = dataSource(); source && source->respondsToSelector(sel("numberOfComponentsInPickerView:")))
        count = std::max(0L, msgSend<long, Ref<UIPickerView>>(source.get(), sel("numberOfComponentsInPickerView:"),
                                                             self<UIPickerView>()));
    while (static_cast<long>(m_wheels.size()) > count) {
        m_wheels.back().clip->removeFromSuperview();
        m_wheels.pop_back();
    }
    while (static_cast<long>(m_wheels.size()) < count) {
        Wheel wheel;
        wheel.clip = alloc<UIView>();
        wheel.clip->initWithFrame(CGRectZero);
        wheel.clip->setClipsToBounds(true);
        wheel.clip->setUserInteractionEnabled(false);
        addSubview(wheel.clip);
        m_wheels.push_back(std::move(wheel));
    }
    for (long c = 0; c < count; ++c) reloadComponent(c);
    placeWheels();
}

void UIPickerView::reloadComponent(long component) {
    if (!m_loaded) return reloadAllComponents();
    if (component < 0 || component >= numberOfComponents()) return;
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    wheel.rows = askRows(component);
    wheel.selected = std::clamp(wheel.selected, 0L, std::max(0L, wheel.rows - 1));
    if (!wheel.moving) wheel.position = static_cast<double>(wheel.selected);
    // Every row is asked again: what a row shows may have changed with the reload.
    for (auto& [row, view] : wheel.shown) {
        view->setHidden(true);
        wheel.reusable.push_back(view);
    }
    wheel.shown.clear();
    placeRows(component);
}

long UIPickerView::numberOfRowsInComponent(long component) const {
    if (component < 0 || component >= numberOfComponents()) return 0;
    return m_wheels[static_cast<std::size_t>(component)].rows;
}

long UIPickerView::selectedRowInComponent(long component) const {
    if (component < 0 || component >= numberOfComponents()) return -1;
    const Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    return wheel.rows > 0 ? wheel.selected : -1;
}

void UIPickerView::selectRowInComponentAnimated(long row, long component, bool) {
    if (!m_loaded) reloadAllComponents();
    if (component < 0 || component >= numberOfComponents()) return;
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    if (wheel.rows == 0) return;
    // A selection in code stops a glide; the wheel stands where it was told to.
    wheel.glide = 0;
    wheel.moving = false;
    wheel.selected = std::clamp(row, 0L, wheel.rows - 1);
    wheel.position = static_cast<double>(wheel.selected);
    placeRows(component);
}

CGFloat UIPickerView::widthOf(long component) const {
    auto d = delegate();
    if (d && d->respondsToSelector(sel("pickerView:widthForComponent:"))) {
        auto me = std::const_pointer_cast<UIPickerView>(self<UIPickerView>());
        return std::max<CGFloat>(0, msgSend<CGFloat, Ref<UIPickerView>, long>(d.get(), sel("pickerView:widthForComponent:"),
                                                                              me, component));
    }
    const long n = std::max(1L, numberOfComponents());
    return std::max<CGFloat>(0, (bounds().width() - kComponentSpacing * static_cast<CGFloat>(n - 1)) /
                                    static_cast<CGFloat>(n));
}

CGFloat UIPickerView::rowHeightOf(long component) const {
    auto d = delegate();
    if (d && d->respondsToSelector(sel("pickerView:rowHeightForComponent:"))) {
        auto me = std::const_pointer_cast<UIPickerView>(self<UIPickerView>());
        const CGFloat h =
            msgSend<CGFloat, Ref<UIPickerView>, long>(d.get(), sel("pickerView:rowHeightForComponent:"), me, component);
        if (h > 0) return h;
    }
    return kRowHeight;
}

CGSize UIPickerView::rowSizeForComponent(long component) const {
    if (component < 0 || component >= numberOfComponents()) return {};
    return CGSizeMake(widthOf(component), rowHeightOf(component));
}

CGRect UIPickerView::frameForComponent(long component) const {
    if (component < 0 || component >= numberOfComponents()) return CGRectZero;
    return m_wheels[static_cast<std::size_t>(component)].clip->frame();
}

double UIPickerView::wheelPosition(long component) const {
    if (component < 0 || component >= numberOfComponents()) return 0;
    return m_wheels[static_cast<std::size_t>(component)].position;
}

bool UIPickerView::isWheelMoving(long component) const {
    if (component < 0 || component >= numberOfComponents()) return false;
    return m_wheels[static_cast<std::size_t>(component)].moving;
}

Ref<UIView> UIPickerView::viewForRowForComponent(long row, long component) const {
    if (component < 0 || component >= numberOfComponents()) return nullptr;
    const Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    auto it = wheel.shown.find(row);
    return it == wheel.shown.end() ? nullptr : it->second;
}

void UIPickerView::placeWheels() {
    const long n = numberOfComponents();
    CGFloat total = 0;
    std::vector<CGFloat> widths;
    for (long c = 0; c < n; ++c) {
        widths.push_back(widthOf(c));
        total += widths.back();
    }
    total += kComponentSpacing * static_cast<CGFloat>(std::max(0L, n - 1));
    const CGFloat height = bounds().height();
    CGFloat x = (bounds().width() - total) / 2;
    for (long c = 0; c < n; ++c) {
        m_wheels[static_cast<std::size_t>(c)].clip->setFrame(CGRectMake(x, 0, widths[static_cast<std::size_t>(c)], height));
        x += widths[static_cast<std::size_t>(c)] + kComponentSpacing;
        placeRows(c);
    }
    const CGFloat band = n > 0 ? rowHeightOf(0) : kRowHeight;
    m_band->setFrame(CGRectMake(8, (height - band) / 2, std::max<CGFloat>(0, bounds().width() - 16), band));
}

void UIPickerView::placeRows(long component) {
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    const CGFloat width = wheel.clip->bounds().width();
    const CGFloat height = bounds().height();
    const CGFloat rowHeight = rowHeightOf(component);
    const double radius = std::max<double>(height / 2, rowHeight);
    // The rows within a quarter turn of the band are on the visible half of the drum.
    const double reach = radius * std::numbers::pi / 2 / rowHeight;
    const long first = std::max(0L, static_cast<long>(std::floor(wheel.position - reach)));
    const long last = std::min(wheel.rows - 1, static_cast<long>(std::ceil(wheel.position + reach)));

    std::map<long, Ref<UIView>> shown;
    for (auto& [row, view] : wheel.shown) {
        if (row >= first && row <= last) shown.emplace(row, view);
        else {
            view->setHidden(true);
            wheel.reusable.push_back(view);
        }
    }
    auto d = delegate();
    auto me = self<UIPickerView>();
    for (long row = first; row <= last; ++row) {
        const double angle = (static_cast<double>(row) - wheel.position) * rowHeight / radius;
        const double cosine = std::cos(angle);
        auto it = shown.find(row);
        if (cosine < kRimCosine) {
            if (it != shown.end()) {
                it->second->setHidden(true);
                wheel.reusable.push_back(it->second);
                shown.erase(it);
            }
            continue;
        }
        Ref<UIView> view = it != shown.end() ? it->second : nullptr;
        if (!view) {
            Ref<UIView> reusing;
            if (!wheel.reusable.empty()) {
                reusing = wheel.reusable.back();
                wheel.reusable.pop_back();
            }
            if (d && d->respondsToSelector(sel("pickerView:viewForRow:forComponent:reusingView:")))
                view = msgSend<Ref<UIView>, Ref<UIPickerView>, long, long, Ref<UIView>>(
                    d.get(), sel("pickerView:viewForRow:forComponent:reusingView:"), me, row, component, reusing);
            if (!view) {
                auto label = cast<UILabel>(reusing);
                if (!label) {
                    label = alloc<UILabel>();
                    label->initWithFrame(CGRectZero);
                    label->setTextAlignment(NSTextAlignmentCenter);
                    label->setFont(UIFont::systemFontOfSize(20));
                }
                std::string title;
                if (d && d->respondsToSelector(sel("pickerView:titleForRow:forComponent:")))
                    title = msgSend<std::string, Ref<UIPickerView>, long, long>(
                        d.get(), sel("pickerView:titleForRow:forComponent:"), me, row, component);
                label->setText(title);
                view = label;
            }
            if (reusing && reusing != view) reusing->removeFromSuperview();
            if (view->superview() != wheel.clip) wheel.clip->addSubview(view);
            view->setHidden(false);
            shown[row] = view;
        }
        view->setTransform(CGAffineTransformIdentity);
        view->setFrame(CGRectMake(0, 0, width, rowHeight));
        view->setCenter(CGPointMake(width / 2, height / 2 + radius * std::sin(angle)));
        view->setTransform(CGAffineTransform{1, 0, 0, cosine, 0, 0});
        view->setAlpha(0.25 + 0.75 * cosine * cosine);
    }
    wheel.shown = std::move(shown);
}

void UIPickerView::layoutSubviews() {
    UIView::layoutSubviews();
    if (!m_loaded) reloadAllComponents();
    else placeWheels();
}

long UIPickerView::componentAt(CGPoint point) const {
    for (long c = 0; c < numberOfComponents(); ++c) {
        const CGRect f = frameForComponent(c);
        if (point.x >= f.minX() - kComponentSpacing / 2 && point.x < f.maxX() + kComponentSpacing / 2) return c;
    }
    return -1;
}

void UIPickerView::touchesBeganWithEvent(UITouchSet touches, id) {
    if (touches.empty()) return;
    if (!m_loaded) reloadAllComponents();
    const CGPoint p = touches.front()->locationInView(self<UIView>());
    m_touchComponent = componentAt(p);
    m_touchMoved = false;
    if (m_touchComponent < 0) return;
    Wheel& wheel = m_wheels[static_cast<std::size_t>(m_touchComponent)];
    if (wheel.rows == 0) {
        m_touchComponent = -1;
        return;
    }
    // A finger on a gliding wheel stops it where it is.
    wheel.glide = 0;
    wheel.moving = true;
    m_touchStartY = p.y;
    m_positionAtStart = wheel.position;
}

void UIPickerView::touchesMovedWithEvent(UITouchSet touches, id) {
    if (m_touchComponent < 0 || touches.empty()) return;
    const CGPoint p = touches.front()->locationInView(self<UIView>());
    Wheel& wheel = m_wheels[static_cast<std::size_t>(m_touchComponent)];
    const CGFloat dy = p.y - m_touchStartY;
    if (std::abs(dy) >= 2) m_touchMoved = true;
    // Moving the finger up brings later rows into the band.
    const double wanted = m_positionAtStart - dy / rowHeightOf(m_touchComponent);
    wheel.position = std::clamp(wanted, -0.5, static_cast<double>(wheel.rows) - 0.5);
    placeRows(m_touchComponent);
}

void UIPickerView::touchesEndedWithEvent(UITouchSet touches, id) {
    const long component = m_touchComponent;
    m_touchComponent = -1;
    if (component < 0 || touches.empty()) return;
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    const CGFloat rowHeight = rowHeightOf(component);
    double target;
    if (!m_touchMoved) {
        // A tap on a row above or below the band turns the wheel to it.
        const CGPoint p = touches.front()->locationInView(self<UIView>());
        const double radius = std::max<double>(bounds().height() / 2, rowHeight);
        const double sine = std::clamp((p.y - bounds().height() / 2) / radius, -1.0, 1.0);
        target = wheel.position + std::asin(sine) * radius / rowHeight;
        if (std::lround(target) == wheel.selected && std::abs(wheel.position - wheel.selected) < 1e-9) {
            wheel.moving = false;
            return;
        }
    } else {
        const double velocity = touches.front()->velocity().y;
        target = wheel.position - velocity * kGlideFactor / rowHeight;
    }
    const long row = std::clamp(std::lround(target), 0L, wheel.rows - 1);
    const double distance = std::abs(static_cast<double>(row) - wheel.position);
    glideTo(component, static_cast<double>(row), std::clamp(0.2 + 0.06 * distance, 0.2, kMaxGlideSeconds));
}

void UIPickerView::touchesCancelledWithEvent(UITouchSet, id) {
    const long component = m_touchComponent;
    m_touchComponent = -1;
    if (component < 0) return;
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    const long row = std::clamp(std::lround(wheel.position), 0L, wheel.rows - 1);
    glideTo(component, static_cast<double>(row), 0.2);
}

void UIPickerView::glideTo(long component, double target, double seconds) {
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    wheel.moving = true;
    const std::uint64_t serial = ++m_glideSerial;
    wheel.glide = serial;
    const double from = wheel.position;
    const double start = platform::Clock::now();
    Weak<UIPickerView> weak = weakSelf<UIPickerView>();
    // The queued step owns the glide's function; the function only names itself weakly, so a glide that is
    // dropped (a run-loop reset) leaves nothing behind.
    auto tick = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> step = tick;
    *tick = [weak, component, serial, from, target, start, seconds, step]() {
        auto picker = weak.lock();
        if (!picker || component >= picker->numberOfComponents()) return;
        Wheel& w = picker->m_wheels[static_cast<std::size_t>(component)];
        if (w.glide != serial) return;
        const double t = std::clamp((platform::Clock::now() - start) / seconds, 0.0, 1.0);
        if (t >= 1) {
            w.glide = 0;
            picker->comeToRest(component, std::lround(target), true);
            return;
        }
        const double eased = 1 - std::pow(1 - t, 3);
        w.position = from + (target - from) * eased;
        picker->placeRows(component);
        if (auto next = step.lock()) platform::RunLoop::main().scheduleAfter(kFrameSeconds, [next] { (*next)(); });
    };
    platform::RunLoop::main().scheduleAfter(kFrameSeconds, [tick] { (*tick)(); });
}

void UIPickerView::comeToRest(long component, long row, bool tell) {
    Wheel& wheel = m_wheels[static_cast<std::size_t>(component)];
    wheel.moving = false;
    wheel.selected = std::clamp(row, 0L, std::max(0L, wheel.rows - 1));
    wheel.position = static_cast<double>(wheel.selected);
    placeRows(component);
    auto d = delegate();
    if (tell && d && d->respondsToSelector(sel("pickerView:didSelectRow:inComponent:")))
        msgSend<void, Ref<UIPickerView>, long, long>(d.get(), sel("pickerView:didSelectRow:inComponent:"),
                                                     self<UIPickerView>(), wheel.selected, component);
}
