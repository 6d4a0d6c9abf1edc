#pragma once

// OnBoardingKit, the system's welcome sheets: a scrolling page with an icon, a large title, a detail text and a
// list of bulleted items (symbol, bold title, description), above a tray of buttons and a caption at the bottom.
// The sheet is presented like any controller (usually as a page sheet).
//
// Calls, as the system's private framework offers them:
//   initWithTitle:detailText:icon:                      OBWelcomeController::initWithTitleDetailTextIcon
//   addBulletedListItemWithTitle:description:image:     items in the order they were added
//   buttonTray                                          the tray at the bottom, never null after init
//   OBButtonTray addButton:, addCaptionText:, effectView   buttons stacked full width, captions under them, the
//                                                       tray's backdrop (a UIVisualEffectView whose effect the caller
//                                                       sets; none by default)
//   OBBoldTrayButton buttonWithType:                    a filled, full-width button in the tint colour

#include "platform/ui/UIButton.h"
#include "platform/ui/UIViewController.h"

#include <string>
#include <vector>

class UIImage;
class UILabel;
class UIImageView;
class UIScrollView;
class UIVisualEffectView;

class OBBoldTrayButton : public UIButton {
    VT_OBJECT(OBBoldTrayButton, UIButton)
public:
    static constexpr CGFloat kHeight = 50;
    // A new bold tray button (any type gives the same filled look: the tint colour behind a white bold title).
    static Ref<OBBoldTrayButton> buttonWithType(UIButtonType type);
    void initWithFrame(CGRect frame) override;
    void tintColorDidChange() override;
    // Also takes up a tint inherited since the last change (a move into a tinted sheet sends no tint change).
    void layoutSubviews() override;

private:
    void refreshFill();
};

class OBButtonTray : public UIView {
    VT_OBJECT(OBButtonTray, UIView)
public:
    void initWithFrame(CGRect frame) override;
    // Buttons stack from the top of the tray, full width less the margins, in the order added.
    void addButton(Ref<UIButton> button);
    // A small grey centred line under the buttons; several captions stack.
    void addCaptionText(std::string text);
    const std::vector<Ref<UIButton>>& buttons() const { return m_buttons; }
    const std::vector<Ref<UILabel>>& captionLabels() const { return m_captions; }
    // Behind the tray's content, filling it.
    Ref<UIVisualEffectView> effectView() const { return m_effectView; }
    // The tray's height for its content at a width.
    CGFloat heightForWidth(CGFloat width) const;
    void layoutSubviews() override;

private:
    Ref<UIVisualEffectView> m_effectView;
    std::vector<Ref<UIButton>> m_buttons;
    std::vector<Ref<UILabel>> m_captions;
};

class OBWelcomeController : public UIViewController {
    VT_OBJECT(OBWelcomeController, UIViewController)
public:
    struct BulletedItem {
        std::string title;
        std::string description;
        Ref<UIImage> image;
    };

    // A null icon leaves the header without picture.
    void initWithTitleDetailTextIcon(std::string title, std::string detailText, Ref<UIImage> icon);
    void addBulletedListItemWithTitleDescriptionImage(std::string title, std::string description, Ref<UIImage> image);

    const std::string& headerTitle() const { return m_title; }
    const std::string& detailText() const { return m_detail; }
    Ref<UIImage> icon() const { return m_icon; }
    const std::vector<BulletedItem>& bulletedItems() const { return m_items; }
    // Loads the view, so the tray exists from init on.
    Ref<OBButtonTray> buttonTray();
    // The scrolling content above the tray (header and items).
    Ref<UIScrollView> contentView();

    // The header's views (icon, title, detail) and each item's symbol, title and description, for tests and dumps;
    // null / empty before the view loads.
    Ref<UIImageView> iconView() const { return m_iconView; }
    Ref<UILabel> headerTitleLabel() const { return m_titleLabel; }
    Ref<UILabel> detailLabel() const { return m_detailLabel; }
    struct ItemViews {
        Ref<UIImageView> symbol;
        Ref<UILabel> title;
        Ref<UILabel> description;
    };
    const std::vector<ItemViews>& itemViews() const { return m_itemViews; }

    void loadView() override;
    void viewDidLayoutSubviews() override;

private:
    void addItemViews(const BulletedItem& item);
    void layoutContent();

    std::string m_title;
    std::string m_detail;
    Ref<UIImage> m_icon;
    std::vector<BulletedItem> m_items;
    Ref<UIScrollView> m_scroll;
    Ref<OBButtonTray> m_tray;
    Ref<UIImageView> m_iconView;
    Ref<UILabel> m_titleLabel;
    Ref<UILabel> m_detailLabel;
    std::vector<ItemViews> m_itemViews;
};
