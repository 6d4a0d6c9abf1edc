#pragma once

// A block of text on a pane page: a bold title over a text view that scrolls and cannot be edited. The
// specifier's "header" is the title and picks the text: "FAQ" shows the questions and answers of the profile page
// (kFAQText) under an invisible title, "Example Description" shows kExampleText, any other header no text. The
// row's height is the specifier's "height" (a number; 0 when absent), which the text view fills below the title.
// All of it is set again whenever the host shows the row for a specifier, since the host reuses rows.
//
// Published:
//   "headerLabel"          Ref<UILabel> ()
//   "descriptionTextView"  Ref<UITextView> ()

#include "platform/host/PSTableCell.h"

#include <string_view>

class UILabel;
class UITextView;

class VNTZRVCDescriptionCella : public PSTableCell {
    VT_OBJECT(VNTZRVCDescriptionCella, PSTableCell)
public:
    static constexpr CGRect kHeaderFrame{{10, 5}, {280, 20}};
    static constexpr CGFloat kHeaderFontSize = 15;
    static constexpr CGFloat kTextTop = 25;
    // The text view is this much narrower than the screen.
    static constexpr CGFloat kTextWidthShortfall = 60;
    static constexpr CGFloat kTextFontSize = 16;

    static constexpr std::string_view kFAQHeader = "FAQ";
    static constexpr std::string_view kExampleHeader = "Example Description";
    static constexpr std::string_view kExampleText = "\nThis is an example description";
    static constexpr std::string_view kFAQText =
        "Q: Why is it asking me for my name? \nA: It's asking you for your name because on the main page navigation "
        "bar will display a greeting message with your name E.G Good Morning, Zorvanic. You won't need to enter your "
        "real name, you can use a nickname or any name you want it to display. \n\nQ: Why does it want my profile "
        "picture? \nA: The banner will display a profile picture, you can pick any picture you want to use. \n\nQ: "
        "Why is it asking me for my birthday? \nA: It's asking you for your birthday so when your birthday come's it "
        "will display a Happy Birthday message on the banner and you can test it out by entering today's date. It "
        "will display other holidays messages E.G Merry Christmas, Happy New Year and Happy Halloween et cetera.";

    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;

    Ref<UILabel> headerLabel() const { return m_headerLabel; }
    Ref<UITextView> descriptionTextView() const { return m_descriptionTextView; }
    // The view that holds both, as wide as the screen and as high as the row.
    Ref<UIView> containerView() const { return m_containerView; }

private:
    void makeViews();
    // Sizes the views to the specifier's height and sets the title and text its header picks.
    void showText(const PSSpecifier* specifier);

    Ref<UIView> m_containerView;
    Ref<UILabel> m_headerLabel;
    Ref<UITextView> m_descriptionTextView;
};
