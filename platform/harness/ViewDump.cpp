#include "platform/harness/ViewDump.h"

#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/DumpsProperties.h"
#include "platform/harness/JSONWriter.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::harness {
namespace {

void writeRect(JSONWriter& w, CGRect r) {
    w.beginInlineArray();
    w.value(r.minX());
    w.value(r.minY());
    w.value(r.width());
    w.value(r.height());
    w.endArray();
}

void writeSize(JSONWriter& w, CGSize s) {
    w.beginInlineArray();
    w.value(s.width);
    w.value(s.height);
    w.endArray();
}

void writeRGBA(JSONWriter& w, PaintColor c) {
    w.beginInlineArray();
    w.value(c.r);
    w.value(c.g);
    w.value(c.b);
    w.value(c.a);
    w.endArray();
}

// A UIColor as [r, g, b, a] for the view's style, with the system colour's name when it is one.
void writeColor(JSONWriter& w, std::string_view key, const Ref<UIColor>& color, long style) {
    w.key(key);
    if (!color) {
        w.null();
        return;
    }
    writeRGBA(w, gfx::paintColor(color, static_cast<int>(style)));
    if (auto name = color->systemName()) w.field(std::string(key) + "Name", *name);
}

void writeCGColor(JSONWriter& w, std::string_view key, const CGColorRef& color) {
    w.key(key);
    if (!color) w.null();
    else writeRGBA(w, gfx::paintColor(color));
}

void writeLayer(JSONWriter& w, const CALayer& layer, bool viewLayer) {
    w.beginObject();
    w.field("class", layer.className());
    if (!viewLayer) {
        w.key("frame");
        writeRect(w, layer.frame());
        if (layer.opacity() != 1) w.field("opacity", layer.opacity());
        if (layer.isHidden()) w.field("hidden", true);
        if (layer.backgroundColor()) writeCGColor(w, "backgroundColor", layer.backgroundColor());
    }
    w.field("cornerRadius", layer.cornerRadius());
    w.field("cornerCurve", layer.cornerCurve());
    if (layer.maskedCorners() != kCALayerAllCorners) w.field("maskedCorners", static_cast<long>(layer.maskedCorners()));
    w.field("borderWidth", layer.borderWidth());
    writeCGColor(w, "borderColor", layer.borderColor());
    if (layer.masksToBounds()) w.field("masksToBounds", true);
    if (layer.zPosition() != 0) w.field("zPosition", layer.zPosition());
    if (auto* g = dynamic_cast<const CAGradientLayer*>(&layer)) {
        w.key("colors");
        w.beginArray();
        for (const auto& c : g->colors()) {
            if (c) writeRGBA(w, gfx::paintColor(c));
            else w.null();
        }
        w.endArray();
        if (!g->locations().empty()) {
            w.key("locations");
            w.beginInlineArray();
            for (double l : g->locations()) w.value(l);
            w.endArray();
        }
        w.key("startPoint");
        writeSize(w, {g->startPoint().x, g->startPoint().y});
        w.key("endPoint");
        writeSize(w, {g->endPoint().x, g->endPoint().y});
    }
    if (auto* s = dynamic_cast<const CAShapeLayer*>(&layer)) {
        w.key("path");
        if (!s->path()) {
            w.null();
        } else {
            w.beginObject();
            w.key("bounds");
            writeRect(w, s->path()->bounds());
            if (s->path()->roundedCorners() != 0) {
                w.key("roundedRect");
                writeRect(w, s->path()->roundedRect());
                w.field("corners", static_cast<long>(s->path()->roundedCorners()));
                w.key("radii");
                writeSize(w, s->path()->cornerRadii());
            }
            w.endObject();
        }
        writeCGColor(w, "fillColor", s->fillColor());
    }
    if (layer.mask()) {
        w.key("mask");
        writeLayer(w, *layer.mask(), false);
    }
    std::vector<const CALayer*> own;
    for (const auto& sub : layer.sublayers())
        if (sub && !sub->delegateView()) own.push_back(sub.get());
    if (!own.empty()) {
        w.key("sublayers");
        w.beginArray();
        for (const CALayer* sub : own) writeLayer(w, *sub, false);
        w.endArray();
    }
    w.endObject();
}

void writeFont(JSONWriter& w, const Ref<UIFont>& font) {
    w.key("font");
    if (!font) {
        w.null();
        return;
    }
    w.beginObject();
    w.field("name", font->fontName());
    w.field("size", font->pointSize());
    w.field("weight", font->weight());
    w.endObject();
}

void writeImage(JSONWriter& w, const Ref<UIImage>& image) {
    w.key("image");
    if (!image) {
        w.null();
        return;
    }
    w.beginObject();
    w.field("source", image->source());
    w.key("size");
    writeSize(w, image->size());
    w.field("scale", image->scale());
    w.field("template", image->isTemplate());
    w.endObject();
}

// The fields of the stand-in controls and containers, read through their public accessors so the views need not
// know the dump. A control writes the control's fields first, then its own.
void writeStandInFields(JSONWriter& w, const Ref<UIView>& view) {
    if (auto scroll = cast<UIScrollView>(view)) {
        w.key("contentOffset");
        w.beginInlineArray();
        w.value(scroll->contentOffset().x);
        w.value(scroll->contentOffset().y);
        w.endArray();
        w.key("contentSize");
        w.beginInlineArray();
        w.value(scroll->contentSize().width);
        w.value(scroll->contentSize().height);
        w.endArray();
        w.field("scrollEnabled", scroll->isScrollEnabled());
    }
    if (auto textView = cast<UITextView>(view)) {
        w.field("text", textView->text());
        w.field("editable", textView->isEditable());
        const UIEdgeInsets inset = textView->textContainerInset();
        w.key("textContainerInset");
        w.beginInlineArray();
        for (CGFloat v : {inset.top, inset.left, inset.bottom, inset.right}) w.value(v);
        w.endArray();
    }
    if (auto effectView = cast<UIVisualEffectView>(view)) {
        w.key("effectStyle");
        if (auto effect = effectView->effect()) w.value(effect->style());
        else w.null();
    }
    auto control = cast<UIControl>(view);
    if (!control) return;
    w.field("enabled", control->isEnabled());
    w.field("selected", control->isSelected());
    w.field("highlighted", control->isHighlighted());
    if (auto button = cast<UIButton>(view)) {
        w.field("buttonType", button->buttonType());
        w.field("title", button->currentTitle());
        w.key("image");
        if (auto image = button->currentImage()) w.value(image->source());
        else w.null();
    }
    if (auto segmented = cast<UISegmentedControl>(view)) {
        w.key("segments");
        w.beginArray();
        for (long i = 0; i < segmented->numberOfSegments(); ++i) w.value(segmented->titleForSegmentAtIndex(i));
        w.endArray();
        w.field("selectedSegmentIndex", segmented->selectedSegmentIndex());
    }
    if (auto toggle = cast<UISwitch>(view)) w.field("on", toggle->isOn());
    if (auto slider = cast<UISlider>(view)) {
        w.field("value", static_cast<double>(slider->value()));
        w.field("minimumValue", static_cast<double>(slider->minimumValue()));
        w.field("maximumValue", static_cast<double>(slider->maximumValue()));
        w.field("continuous", slider->isContinuous());
    }
    if (auto field = cast<UITextField>(view)) {
        w.field("text", field->text());
        w.field("placeholder", field->placeholder());
        if (field->keyboardType() != 0) w.field("keyboardType", field->keyboardType());
        w.field("editing", field->isEditing());
        w.key("selectedRange");
        w.beginInlineArray();
        w.value(field->selectedRange().location);
        w.value(field->selectedRange().length);
        w.endArray();
    }
}

}  // namespace

void dumpView(JSONWriter& w, const Ref<UIView>& view, const Ref<UIView>& root) {
    const long style = view->traitCollection() ? view->traitCollection()->userInterfaceStyle() : 1;
    w.beginObject();
    w.field("class", view->className());
    w.key("frame");
    writeRect(w, view == root ? CGRect{{0, 0}, view->bounds().size} : view->convertRectToView(view->bounds(), root));
    w.field("hidden", view->isHidden());
    w.field("alpha", view->alpha());
    writeColor(w, "backgroundColor", view->backgroundColor(), style);
    if (view->tag() != 0) w.field("tag", view->tag());
    if (view->clipsToBounds()) w.field("clipsToBounds", true);
    if (!view->isUserInteractionEnabled()) w.field("userInteractionEnabled", false);
    if (!view->transform().isIdentity()) {
        const auto t = view->transform();
        w.key("transform");
        w.beginInlineArray();
        for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty}) w.value(v);
        w.endArray();
    }
    w.field("style", style);
    w.key("layer");
    writeLayer(w, *view->layer(), true);

    if (auto label = cast<UILabel>(view)) {
        w.field("text", label->text());
        writeColor(w, "textColor", label->textColor(), style);
        writeFont(w, label->font());
        w.field("textAlignment", label->textAlignment());
        w.field("numberOfLines", label->numberOfLines());
        w.field("displayedLines", label->displayedLineCount());
        if (label->isTruncated()) w.field("truncated", true);
    }
    if (auto imageView = cast<UIImageView>(view)) {
        writeImage(w, imageView->image());
        w.field("contentMode", imageView->contentMode());
        if (imageView->image() && imageView->image()->isTemplate()) {
            Ref<UIColor> tint = imageView->tintColor();
            writeColor(w, "tintColor", tint ? tint : UIColor::systemBlueColor(), style);
        }
    }
    writeStandInFields(w, view);
    if (auto* extra = dynamic_cast<const DumpsProperties*>(view.get())) extra->dumpProperties(w);

    const auto subviews = view->subviewsInDrawingOrder();
    w.key("subviews");
    w.beginArray();
    for (const auto& sub : subviews) dumpView(w, sub, root);
    w.endArray();
    w.endObject();
}

std::string dumpViewTree(const Ref<UIView>& root) {
    if (!root) return "";
    root->layoutIfNeeded();
    JSONWriter w;
    w.beginObject();
    w.field("format", "vantile-view-dump/1");
    const auto screen = UIScreen::mainScreen();
    w.key("screen");
    w.beginObject();
    w.field("profile", screen->profile().name);
    w.key("size");
    writeSize(w, screen->bounds().size);
    w.field("scale", screen->scale());
    w.field("style", root->traitCollection() ? root->traitCollection()->userInterfaceStyle() : 1L);
    w.endObject();
    w.key("root");
    dumpView(w, root, root);
    w.endObject();
    return w.str() + "\n";
}

}  // namespace platform::harness
