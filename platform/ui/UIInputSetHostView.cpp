#include "platform/ui/UIInputSetHostView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/TextLayout.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UITextField.h"

#include <array>
#include <string_view>

VT_REGISTER_CLASS(UIInputSetHostView)

namespace {

// One keyboard per process, as there is one first responder.
Ref<UIInputSetHostView>& shown() {
    static Ref<UIInputSetHostView> host;
    return host;
}

constexpr std::array<std::string_view, 3> kLetterRows{"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr CGFloat kKeyGap = 6;
constexpr CGFloat kRowGap = 12;
constexpr CGFloat kKeyHeight = 42;
constexpr CGFloat kTopInset = 8;
// UIReturnKeyDone: the return key reads "done".
constexpr long kReturnKeyDone = 9;

constexpr PaintColor kBackground{0.82, 0.835, 0.86, 1};
constexpr PaintColor kLetterKey{1, 1, 1, 1};
constexpr PaintColor kFunctionKey{0.67, 0.7, 0.74, 1};
constexpr PaintColor kKeyShadow{0.53, 0.54, 0.56, 1};

void drawKey(Painter& p, CGRect key, PaintColor fill, std::string_view title, CGFloat fontSize) {
    p.fillRoundedRect(key.offsetBy(0, 1), CornerRadii::uniform(5), CornerCurve::Circular, kKeyShadow);
    p.fillRoundedRect(key, CornerRadii::uniform(5), CornerCurve::Circular, fill);
    if (title.empty()) return;
    TextLayout layout(title, *UIFont::systemFontOfSize(fontSize), key.width(), 1, TextAlignment::Center);
    p.drawText(layout, {key.minX(), key.midY() - layout.size().height / 2}, PaintColor::black());
}

}  // namespace

void UIInputSetHostView::showForField(const Ref<UITextField>& field) {
    if (!field) return;
    auto window = field->window();
    if (!window) return;
    auto& host = shown();
    if (host) host->removeFromSuperview();
    host = alloc<UIInputSetHostView>();
    host->initWithFrame(window->bounds());
    host->m_field = field;
    host->m_accessory = field->inputAccessoryView();
    host->layer()->setZPosition(kZPosition);
    if (host->m_accessory) host->addSubview(host->m_accessory);
    window->addSubview(host);
    host->place();
}

void UIInputSetHostView::hideForField(const UITextField& field) {
    auto& host = shown();
    if (!host || host->field().get() != &field) return;
    if (host->m_accessory && host->m_accessory->superview().get() == host.get()) host->m_accessory->removeFromSuperview();
    host->removeFromSuperview();
    host = nullptr;
}

Ref<UIInputSetHostView> UIInputSetHostView::current() { return shown(); }

Ref<UITextField> UIInputSetHostView::field() const { return m_field.lock(); }

CGRect UIInputSetHostView::keyboardFrame() const {
    const CGRect b = bounds();
    return CGRectMake(0, b.height() - kKeyboardHeight, b.width(), kKeyboardHeight);
}

// The host spans the keyboard and its accessory only, so touches above it reach the page.
void UIInputSetHostView::place() {
    auto window = superview();
    if (!window) return;
    const CGRect w = window->bounds();
    const CGFloat accessoryHeight = m_accessory ? m_accessory->frame().height() : 0;
    const CGFloat height = kKeyboardHeight + accessoryHeight;
    setFrame(CGRectMake(0, w.height() - height, w.width(), height));
    if (m_accessory) m_accessory->setFrame(CGRectMake(0, 0, w.width(), accessoryHeight));
    setNeedsLayout();
}

void UIInputSetHostView::layoutSubviews() {
    UIView::layoutSubviews();
    if (m_accessory) m_accessory->setFrame(CGRectMake(0, 0, bounds().width(), m_accessory->frame().height()));
}

void UIInputSetHostView::drawRect(CGRect) {
    Painter* p = UIGraphicsGetCurrentContext();
    if (!p) return;
    const CGRect k = keyboardFrame();
    p->fillRect(k, kBackground);
    const CGFloat keyWidth = (k.width() - kKeyGap * 11) / 10;
    CGFloat y = k.minY() + kTopInset;
    for (std::size_t row = 0; row < kLetterRows.size(); ++row) {
        const std::string_view letters = kLetterRows[row];
        const CGFloat rowWidth = letters.size() * keyWidth + (letters.size() - 1) * kKeyGap;
        CGFloat x = k.minX() + (k.width() - rowWidth) / 2;
        for (char c : letters) {
            drawKey(*p, CGRectMake(x, y, keyWidth, kKeyHeight), kLetterKey, std::string_view(&c, 1), 22);
            x += keyWidth + kKeyGap;
        }
        if (row == 2) {
            const CGFloat side = (k.width() - rowWidth) / 2 - 2 * kKeyGap;
            drawKey(*p, CGRectMake(k.minX() + kKeyGap, y, side, kKeyHeight), kFunctionKey, "⇧", 20);
            drawKey(*p, CGRectMake(k.maxX() - kKeyGap - side, y, side, kKeyHeight), kFunctionKey, "⌫", 20);
        }
        y += kKeyHeight + kRowGap;
    }
    auto field = m_field.lock();
    const std::string_view returnTitle = field && field->returnKeyType() == kReturnKeyDone ? "done" : "return";
    const CGFloat wide = keyWidth * 2.5;
    drawKey(*p, CGRectMake(k.minX() + kKeyGap, y, wide, kKeyHeight), kFunctionKey, "123", 16);
    drawKey(*p, CGRectMake(k.minX() + 2 * kKeyGap + wide, y, k.width() - 2 * wide - 4 * kKeyGap, kKeyHeight),
            kLetterKey, "space", 16);
    drawKey(*p, CGRectMake(k.maxX() - kKeyGap - wide, y, wide, kKeyHeight), kFunctionKey, returnTitle, 16);
}
