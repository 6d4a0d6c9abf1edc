#include "prefs/cells/VNTPicturePickerCell.h"

#include "common/Keys.h"
#include "platform/core/CFNotificationCenter.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSFileManager.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/core/NSURL.h"
#include "platform/core/NSUserDefaults.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSSpecifier.h"
#include "platform/media/AVAssetExportSession.h"
#include "platform/media/AVAssetImageGenerator.h"
#include "platform/media/PHAsset.h"
#include "platform/media/PHImageManager.h"
#include "platform/media/UIImagePickerController.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIActivityIndicatorView.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

VT_REGISTER_CLASS(VNTPicturePickerCell, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTPicturePickerCell::chooseImage>(c, "chooseImage");
    addMethod<&VNTPicturePickerCell::imagePickerControllerDidFinishPickingMediaWithInfo>(
        c, "imagePickerController:didFinishPickingMediaWithInfo:");
    addMethod<&VNTPicturePickerCell::imagePickerControllerDidCancel>(c, "imagePickerControllerDidCancel:");
})

namespace {

constexpr CGRect kIconFrame{{13, 15}, {40, 40}};
constexpr CGRect kHeaderFrame{{65, 17.5}, {200, 20}};
constexpr CGRect kSubtitleFrame{{65, 35}, {200, 20}};
constexpr CGFloat kHeaderFontSize = 15;
constexpr CGFloat kSubtitleFontSize = 10;

Ref<UILabel> makeLabel(CGRect frame, const std::string& text, CGFloat size) {
    auto label = alloc<UILabel>();
    label->initWithFrame(frame);
    label->setText(text);
    label->setFont(UIFont::systemFontOfSize(size));
    return label;
}

// The first frame of the movie at a device path, as an image; null when there is no readable movie there.
Ref<UIImage> movieFrame(const std::string& path) {
    auto generator = AVAssetImageGenerator::assetImageGeneratorWithAsset(
        AVURLAsset::URLAssetWithURLOptions(NSURL::fileURLWithPath(path), nullptr));
    CGImageRef frame = generator->copyCGImageAtTimeActualTimeError(CMTimeMake(0, 1), nullptr, nullptr);
    if (!frame) return nullptr;
    auto image = UIImage::imageWithCGImage(frame);
    CGImageRelease(frame);
    return image;
}

bool endsWithMov(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.ends_with(".mov");
}

}  // namespace

Ref<UIImage> VNTParseImage(const std::vector<std::uint8_t>& data) { return UIImage::imageWithData(data); }

bool VNTPicturePickerCell::isUsableVideoPath(const std::string& path) {
    if (path.empty() || path.front() != '/') return false;
    if (!(path.starts_with("/var/mobile/") || path.starts_with("/tmp/"))) return false;
    for (const auto& part : std::filesystem::path(path))
        if (part == "..") return false;
    return true;
}

void VNTPicturePickerCell::readProperties(const PSSpecifier& specifier) {
    m_key = specifier.stringProperty("key").value_or("");
    m_defaults = specifier.stringProperty("defaults").value_or("");
    m_postNotification = specifier.stringProperty("PostNotification").value_or("");
    m_usesJPEG = specifier.boolProperty("usesJPEG");
    m_usesGIF = specifier.boolProperty("usesGIF");
    m_compressionQuality = 1.0;
    if (const auto property = specifier.propertyForKey("compressionQuality"))
        if (const Value* value = property->value(); value && value->isNumber())
            if (const auto number = value->numberValue(); number && std::isfinite(*number))
                m_compressionQuality = std::clamp(*number, 0.0, 1.0);
    m_allowsVideos = specifier.boolProperty("allowsVideos");
    m_videoPath = specifier.stringProperty("videoPath").value_or("");
}

void VNTPicturePickerCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style,
                                                                 std::string reuseIdentifier,
                                                                 Ref<PSSpecifier> specifier) {
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
    if (specifier) {
        m_listController = cast<PSListController>(specifier->target());
        specifier->setTarget(self());
        readProperties(*specifier);
    }
    m_preferences = alloc<HBPreferences>();
    m_preferences->initWithIdentifier(vantile::kDomain);
    m_themeFlags.bind(*m_preferences);

    m_iconImage = alloc<UIImageView>();
    m_iconImage->initWithFrame(kIconFrame);
    m_iconImage->setImage(vnt::themedImage(m_themeFlags.current(), "Icons", "picture@3x.png"));
    addSubview(m_iconImage);
    const std::string header = specifier ? specifier->stringProperty("header").value_or("") : "";
    const std::string subtitle = specifier ? specifier->stringProperty("subtitle").value_or("") : "";
    m_headerLabel = makeLabel(kHeaderFrame, header, kHeaderFontSize);
    m_subtitleLabel = makeLabel(kSubtitleFrame, subtitle, kSubtitleFontSize);
    addSubview(m_headerLabel);
    addSubview(m_subtitleLabel);
}

void VNTPicturePickerCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(std::move(specifier));
    // The row draws its title itself, beside the icon.
    textLabel()->setText("");
}

void VNTPicturePickerCell::didMoveToWindow() {
    PSTableCell::didMoveToWindow();
    m_themeFlags.bind(*m_preferences);
    if (m_previewImage || !window()) return;

    m_previewImage = alloc<UIImageView>();
    m_previewImage->initWithFrame(CGRectMake(0, 0, kThumbnailSide, kThumbnailSide));
    m_previewImage->setContentMode(UIViewContentModeScaleAspectFill);
    m_previewImage->setClipsToBounds(true);
    m_previewImage->layer()->setCornerRadius(kThumbnailSide / 2);
    setAccessoryView(m_previewImage);

    const Value stored = NSUserDefaults::standardUserDefaults()->objectForKeyInDomain(m_key, m_defaults);
    const Value::Data* data = stored.asData();
    if (auto image = data ? VNTParseImage(*data) : nullptr) {
        m_previewImage->setImage(image);
        m_previewImage->layer()->setBorderWidth(1);
        if (auto accent = vnt::accentColour(m_themeFlags.current()))
            m_previewImage->layer()->setBorderColor(accent->CGColor());
        return;
    }
    if (!m_videoPath.empty()) m_previewImage->setImage(movieFrame(m_videoPath));
}

void VNTPicturePickerCell::chooseImage() {
    auto list = listController();
    if (!list) return;
    auto picker = alloc<UIImagePickerController>();
    picker->init();
    picker->setSourceType(UIImagePickerControllerSourceTypePhotoLibrary);
    if (m_allowsVideos) picker->setMediaTypes({std::string(kUTTypeImage), std::string(kUTTypeMovie)});
    picker->setDelegate(self());
    list->presentViewControllerAnimatedCompletion(picker, true);
}

void VNTPicturePickerCell::post() const {
    if (!m_postNotification.empty()) notify_post(m_postNotification.c_str());
}

void VNTPicturePickerCell::storePicture(const std::vector<std::uint8_t>& original) {
    auto image = VNTParseImage(original);
    if (!image) return;
    // The stored movie goes only once its replacement is at hand: a request that brings nothing, or bytes that are
    // no picture, leave the user's movie where it was.
    if (isUsableVideoPath(m_videoPath)) NSFileManager::defaultManager()->removeItemAtPath(m_videoPath);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (m_usesJPEG) bytes = UIImageJPEGRepresentation(image, m_compressionQuality);
    else if (m_usesGIF) bytes = original;
    else bytes = UIImagePNGRepresentation(image);
    if (!bytes) return;
    NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(std::move(*bytes)), m_key, m_defaults);
    post();
    if (m_previewImage) m_previewImage->setImage(image);
}

void VNTPicturePickerCell::exportMovie(const Ref<PHAsset>& asset) {
    const std::string path = m_videoPath;
    Weak<VNTPicturePickerCell> weakCell = weakSelf<VNTPicturePickerCell>();
    PHImageManager::defaultManager()->requestExportSessionForVideoOptionsExportPresetResultHandler(
        asset, nullptr, AVAssetExportPresetHighestQuality, [path, weakCell](Ref<AVAssetExportSession> session, id) {
            if (!session) return;
            session->setOutputURL(NSURL::fileURLWithPath(path));
            session->setOutputFileType(endsWithMov(path) ? AVFileTypeQuickTimeMovie : AVFileTypeMPEG4);
            Weak<AVAssetExportSession> weakSession = session;
            session->exportAsynchronouslyWithCompletionHandler([path, weakCell, weakSession] {
                // On the platform's background thread: the frame is read here, the views are touched on main.
                auto finished = weakSession.lock();
                const bool completed = finished && finished->status() == AVAssetExportSessionStatusCompleted;
                Ref<UIImage> frame = completed ? movieFrame(path) : nullptr;
                platform::dispatchMain([path, weakCell, completed, frame] {
                    // What a failed export left behind is no movie of the user's.
                    if (!completed) NSFileManager::defaultManager()->removeItemAtPath(path);
                    auto cell = weakCell.lock();
                    if (cell && cell->m_previewImage) cell->m_previewImage->setImage(frame);
                });
            });
        });
}

void VNTPicturePickerCell::imagePickerControllerDidFinishPickingMediaWithInfo(Ref<UIImagePickerController> picker,
                                                                               Ref<NSMutableDictionary> info) {
    auto indicator = alloc<UIActivityIndicatorView>();
    indicator->initWithActivityIndicatorStyle(UIActivityIndicatorViewStyleWhiteLarge);
    indicator->setFrame(picker->view()->bounds());
    indicator->setHidesWhenStopped(true);
    picker->view()->addSubview(indicator);
    indicator->startAnimating();
    m_indicator = indicator;

    auto url = info ? cast<NSURL>(info->objectForKey(UIImagePickerControllerReferenceURL)) : nullptr;
    Ref<PHAsset> asset;
    if (url) asset = PHAsset::fetchAssetsWithALAssetURLsOptions({url}, nullptr)->lastObject();

    const bool usablePath = isUsableVideoPath(m_videoPath);
    if (asset && !asset->isVideo()) {
        Weak<VNTPicturePickerCell> weakCell = weakSelf<VNTPicturePickerCell>();
        PHImageManager::defaultManager()->requestImageDataForAssetOptionsResultHandler(
            asset, nullptr, [weakCell](std::optional<PHImageManager::ImageData> data, std::string, long, id) {
                auto cell = weakCell.lock();
                if (cell && data) cell->storePicture(*data);
            });
    } else if (asset && usablePath) {
        exportMovie(asset);
        NSUserDefaults::standardUserDefaults()->removeObjectForKeyInDomain(m_key, m_defaults);
        post();
    }

    if (auto list = listController())
        list->dismissViewControllerAnimatedCompletion(true, [indicator] { indicator->stopAnimating(); });
}

void VNTPicturePickerCell::imagePickerControllerDidCancel(Ref<UIImagePickerController>) {
    if (auto list = listController()) list->dismissViewControllerAnimatedCompletion(true);
}
