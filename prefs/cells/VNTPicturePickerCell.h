#pragma once

// A row that picks a picture (or, when its specifier allows it, a movie) from the photo library and stores it: a
// picture as image data under "key" in the domain "defaults", a movie as a file at "videoPath". It shows the theme's
// picture icon, a title, a subtitle and, as its accessory, a round 60-point thumbnail of what is stored. After each
// store it posts the specifier's "PostNotification" as a Darwin notification.
//
// The row becomes its specifier's target, so the row's action ("chooseImage") comes to the cell; the page that was
// the target is kept (weakly, as the page owns the row) to present and dismiss the picker.
//
// Stored bytes: JPEG at "compressionQuality" with "usesJPEG"; else the library's original bytes with "usesGIF"; else
// PNG. A movie goes to "videoPath" in QuickTime when the path ends in ".mov" (any case), MPEG-4 otherwise; choosing
// one removes the stored picture at once and posts, before the export has finished. The export completes on the
// platform's background thread, which reads the new file's first frame there and hands it to the main thread.
//
// Guards beyond the plain algorithm, each for a fault a user would otherwise meet:
//   - data from the library that does not decode as an image stores and posts nothing;
//   - the stored movie is deleted when the chosen picture's data has arrived and decoded, just before the picture
//     is stored, not when the data is asked for: a request that brings nothing does not cost the user the movie;
//   - a choice without a reference URL or without an asset stores nothing; the picker is dismissed and the
//     indicator stopped when the dismissal completes, as for any other choice;
//   - a failed export removes what it left at "videoPath", so the thumbnail never shows a half-written movie as the
//     user's;
//   - a "videoPath" that is absent, not absolute, outside "/var/mobile/" and "/tmp/", or with a ".." component is not
//     used: nothing is deleted or exported there, and a movie choice with such a path stores nothing;
//   - a "compressionQuality" that is not a number counts as 1.0, one outside 0..1 is clamped into it.
//
// Published (besides the host's "initWithStyle:reuseIdentifier:specifier:"): "chooseImage",
// "imagePickerController:didFinishPickingMediaWithInfo:", "imagePickerControllerDidCancel:", "didMoveToWindow".

#include "platform/host/PSListController.h"
#include "platform/host/PSTableCell.h"
#include "prefs/drawer/VNTTheme.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class NSMutableDictionary;
class UIActivityIndicatorView;
class UIImage;
class UIImageView;
class UIImagePickerController;
class UILabel;

class VNTPicturePickerCell : public PSTableCell {
    VT_OBJECT(VNTPicturePickerCell, PSTableCell)
public:
    static constexpr CGFloat kThumbnailSide = 60;

    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    void didMoveToWindow() override;

    void chooseImage();
    void imagePickerControllerDidFinishPickingMediaWithInfo(Ref<UIImagePickerController> picker,
                                                            Ref<NSMutableDictionary> info);
    void imagePickerControllerDidCancel(Ref<UIImagePickerController> picker);

    Ref<PSListController> listController() const { return m_listController.lock(); }
    // Null until the cell first reaches a window.
    Ref<UIImageView> previewImage() const { return m_previewImage; }
    Ref<UIImageView> iconImage() const { return m_iconImage; }
    Ref<UILabel> headerLabel() const { return m_headerLabel; }
    Ref<UILabel> subtitleLabel() const { return m_subtitleLabel; }
    // The indicator of the latest choice; null before the first.
    Ref<UIActivityIndicatorView> activityIndicator() const { return m_indicator; }
    const std::string& key() const { return m_key; }
    const std::string& defaults() const { return m_defaults; }
    const std::string& postNotification() const { return m_postNotification; }
    bool usesJPEG() const { return m_usesJPEG; }
    bool usesGIF() const { return m_usesGIF; }
    double compressionQuality() const { return m_compressionQuality; }
    bool allowsVideos() const { return m_allowsVideos; }
    const std::string& videoPath() const { return m_videoPath; }

    // Whether a "videoPath" may be deleted and written: absolute, below "/var/mobile/" or "/tmp/", no "..".
    static bool isUsableVideoPath(const std::string& path);

private:
    void readProperties(const PSSpecifier& specifier);
    void storePicture(const std::vector<std::uint8_t>& original);
    void exportMovie(const Ref<class PHAsset>& asset);
    void post() const;

    // The flags are declared before the object that binds them, so they outlive it.
    vnt::ThemeFlags m_themeFlags;
    Ref<HBPreferences> m_preferences;
    Weak<PSListController> m_listController;
    Ref<UIImageView> m_previewImage;
    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_headerLabel;
    Ref<UILabel> m_subtitleLabel;
    Ref<UIActivityIndicatorView> m_indicator;
    std::string m_key;
    std::string m_defaults;
    std::string m_postNotification;
    bool m_usesJPEG = false;
    bool m_usesGIF = false;
    double m_compressionQuality = 1.0;
    bool m_allowsVideos = false;
    std::string m_videoPath;
};

// The image decoded from `data`; null when the data is no image (PNG, JPEG or GIF).
[[gnu::visibility("default")]] Ref<UIImage> VNTParseImage(const std::vector<std::uint8_t>& data);
