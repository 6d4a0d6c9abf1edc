#pragma once

// The changelog card the pane's root page presents: a container masked to rounded top corners over a blur, a header
// with a grabber, the themed changelog icon, the title and a close button, and the versions list below it.
//
// Its views live in slots shared by the class (one changelog is shown at a time; a new one replaces them), readable
// through the static accessors. Without a current theme there is no accent colour (the grabber, the close button's
// tint and the section headers take the platform's defaults) and no icon.
//
// Published to the run-time: "viewDidLoad", "setupContainer", "setupHeader", "setupTableView", "dismissVC",
// "accentColor" (Ref<UIColor> ()), "setAccentColor:" (void (Ref<UIColor>)).

#include "platform/ui/UIViewController.h"

class UIButton;
class UIColor;
class UIImage;
class UIImageView;
class UILabel;
class UIVisualEffectView;
class VNTChangelogTableView;

class VNTChangelogViewController : public UIViewController {
    VT_OBJECT(VNTChangelogViewController, UIViewController)
public:
    static constexpr CGFloat kCornerRadius = 30;
    static constexpr CGFloat kHeaderHeight = 75;
    static constexpr long kBlurStyle = 11;

    void viewDidLoad() override;
    void setupContainer();
    void setupHeader();
    void setupTableView();
    void dismissVC();

    Ref<UIColor> accentColor() const { return m_accentColor; }
    void setAccentColor(Ref<UIColor> colour) { m_accentColor = std::move(colour); }

    static Ref<UIView> containerView();
    static Ref<UIVisualEffectView> blurEffectView();
    static Ref<UIView> headerView();
    static Ref<UIView> grabberView();
    static Ref<UIButton> doneButton();
    static Ref<UIImageView> iconImage();
    static Ref<UILabel> headerLabel();
    static Ref<VNTChangelogTableView> changelogTableView();
    static Ref<UIImage> changelogImage();

private:
    Ref<UIColor> m_accentColor;
};
