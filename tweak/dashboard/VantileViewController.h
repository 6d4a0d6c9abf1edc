#pragma once

// The card editor sheet: a container with rounded top corners over a blur, a header (grabber, the add-on's icon and
// name, a done button) and the table of the two card lists below it. Each opening makes a new controller and a new
// table view, so the lists are loaded afresh from the domain; nothing is saved on closing.
//
// The views are process-wide: the last editor built owns them.
//
// Published:
//   "init"                         void()  — the root page creates the controller by name and sends this
//   "viewDidLoad"                  void()
//   "viewWillAppear:"              void(bool)
//   "traitCollectionDidChange:"    void(Ref<UITraitCollection>)
//   "setupContainer" / "setupHeader" / "setupTableView" / "dismissVC"   void()

#include "platform/ui/UIViewController.h"

#include <string_view>

class UIButton;
class UIImageView;
class UILabel;
class UIView;
class UIVisualEffectView;
class VantileTableView;

class VantileViewController : public UIViewController {
    VT_OBJECT(VantileViewController, UIViewController)
public:
    static constexpr CGFloat kCornerRadius = 30;
    static constexpr CGFloat kHeaderHeight = 75;
    static constexpr CGSize kGrabberSize{40, 6};
    static constexpr CGFloat kGrabberTop = 10;
    static constexpr CGFloat kDoneSize = 30;
    static constexpr CGFloat kDoneInset = 7;
    static constexpr CGFloat kHeaderSideInset = 20;
    static constexpr CGFloat kIconSize = 35;
    static constexpr CGFloat kIconCornerRadius = 8;
    static constexpr CGFloat kLabelGap = 10;
    static constexpr CGFloat kTableTopGap = 10;
    static constexpr CGFloat kTableBottomInset = 90;
    static constexpr std::string_view kDoneImage = "done.png";
    static constexpr std::string_view kIconImage = "vantile-setting.png";
    static constexpr std::string_view kHeaderText = "Vantile";

    void init() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override;

    virtual void setupContainer();
    virtual void setupHeader();
    virtual void setupTableView();
    virtual void dismissVC();

    // Blur, grabber and done-button colours for an interface style (2 dark, anything else light).
    void applyInterfaceStyle(long style);

    static const Ref<UIView>& containerView();
    static const Ref<UIVisualEffectView>& blurEffectView();
    static const Ref<UIView>& headerView();
    static const Ref<UIView>& grabberView();
    static const Ref<UIButton>& doneButton();
    static const Ref<UIImageView>& iconImage();
    static const Ref<UILabel>& headerLabel();
    static const Ref<VantileTableView>& vantileTableView();

private:
    void updateMask();
};
