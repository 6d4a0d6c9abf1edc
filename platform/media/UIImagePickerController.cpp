#include "platform/media/UIImagePickerController.h"

#include "platform/core/NSFileManager.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/media/AVAssetImageGenerator.h"
#include "platform/media/MovieFile.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIScrollView.h"

#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UIImagePickerController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&UIImagePickerController::thumbnailTapped>(c, "thumbnailTapped:");
    addMethod<&UIImagePickerController::cancel>(c, "cancel");
})

using platform::media::LibraryItem;
using platform::media::MediaKind;

namespace {

constexpr CGFloat kDurationFontSize = 12;
constexpr CGFloat kDurationInset = 4;
constexpr CGFloat kDurationHeight = 16;

// A picture's own pixels, or a movie's first frame; null when neither decodes (the thumbnail stays grey).
Ref<UIImage> thumbnailImage(const LibraryItem& item) {
    if (item.kind == MediaKind::Image) {
        const auto data = NSFileManager::defaultManager()->contentsAtPath(item.devicePath);
        return data ? UIImage::imageWithData(*data) : nullptr;
    }
    auto generator = AVAssetImageGenerator::assetImageGeneratorWithAsset(AVURLAsset::assetWithDevicePath(item.devicePath));
    CGImageRef frame = generator->copyCGImageAtTimeActualTimeError(kCMTimeZero, nullptr, nullptr);
    if (!frame) return nullptr;
    auto image = UIImage::imageWithCGImage(frame);
    CGImageRelease(frame);
    return image;
}

std::string durationText(const LibraryItem& item) {
    const auto path = AVURLAsset::assetWithDevicePath(item.devicePath)->hostPath();
    const auto info = path ? platform::media::movieInfo(*path) : std::nullopt;
    const long seconds = info ? std::lround(std::max(1.0, info->duration)) : 0;
    return std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
}

}  // namespace

void UIImagePickerController::init() {
    super::init();
    m_page = alloc<UIViewController>();
    m_page->init();
    auto grid = alloc<UIScrollView>();
    grid->initWithFrame(UIScreen::mainScreen()->bounds());
    grid->setBackgroundColor(UIColor::whiteColor());
    m_page->setView(grid);
    m_page->navigationItem()->setTitle("Photos");
    auto cancelItem = alloc<UIBarButtonItem>();
    cancelItem->initWithTitleStyleTargetAction("Cancel", UIBarButtonItemStylePlain, self(), sel("cancel"));
    m_page->navigationItem()->setRightBarButtonItem(cancelItem);
    pushViewControllerAnimated(m_page, false);
    rebuildGrid();
}

void UIImagePickerController::setSourceType(UIImagePickerControllerSourceType type) {
    m_sourceType = type;
    rebuildGrid();
}

void UIImagePickerController::setMediaTypes(std::vector<std::string> types) {
    m_mediaTypes = std::move(types);
    rebuildGrid();
}

std::vector<LibraryItem> UIImagePickerController::shownItems() const {
    const bool images = std::find(m_mediaTypes.begin(), m_mediaTypes.end(), kUTTypeImage) != m_mediaTypes.end();
    const bool movies = std::find(m_mediaTypes.begin(), m_mediaTypes.end(), kUTTypeMovie) != m_mediaTypes.end();
    std::vector<LibraryItem> shown;
    for (auto& item : platform::media::photoLibraryItems())
        if ((item.kind == MediaKind::Image && images) || (item.kind == MediaKind::Video && movies))
            shown.push_back(std::move(item));
    return shown;
}

Ref<UIButton> UIImagePickerController::thumbnailNamed(std::string_view name) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].name == name) return m_thumbnails[i];
    return nullptr;
}

Ref<UIScrollView> UIImagePickerController::grid() const {
    return m_page ? cast<UIScrollView>(m_page->view()) : nullptr;
}

void UIImagePickerController::rebuildGrid() {
    auto scroll = grid();
    if (!scroll) return;
    for (const auto& old : m_thumbnails) old->removeFromSuperview();
    m_thumbnails.clear();
    m_items = shownItems();

    const CGFloat width = UIScreen::mainScreen()->bounds().width();
    const CGFloat side = std::floor((width - kSpacing * (kColumns - 1)) / kColumns);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const LibraryItem& item = m_items[i];
        const auto column = static_cast<long>(i) % kColumns;
        const auto row = static_cast<long>(i) / kColumns;
        auto thumbnail = UIButton::buttonWithType(UIButtonTypeCustom);
        thumbnail->setFrame(CGRectMake(column * (side + kSpacing), row * (side + kSpacing), side, side));
        thumbnail->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.9, 1));
        thumbnail->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentFill);
        thumbnail->setContentVerticalAlignment(UIControlContentVerticalAlignmentFill);
        thumbnail->setImageForState(thumbnailImage(item), UIControlStateNormal);
        thumbnail->imageView()->setContentMode(UIViewContentModeScaleAspectFill);
        thumbnail->imageView()->setClipsToBounds(true);
        thumbnail->setClipsToBounds(true);
        thumbnail->setTag(static_cast<long>(i));
        thumbnail->addTargetActionForControlEvents(self(), sel("thumbnailTapped:"), UIControlEventTouchUpInside);
        if (item.kind == MediaKind::Video) {
            auto length = alloc<UILabel>();
            length->initWithFrame(CGRectMake(kDurationInset, side - kDurationHeight - kDurationInset,
                                             side - 2 * kDurationInset, kDurationHeight));
            length->setText(durationText(item));
            length->setTextAlignment(NSTextAlignmentRight);
            length->setFont(UIFont::boldSystemFontOfSize(kDurationFontSize));
            length->setTextColor(UIColor::whiteColor());
            thumbnail->addSubview(length);
        }
        scroll->addSubview(thumbnail);
        m_thumbnails.push_back(thumbnail);
    }
    const long rows = (static_cast<long>(m_items.size()) + kColumns - 1) / kColumns;
    scroll->setContentSize({width, rows * (side + kSpacing)});
}

void UIImagePickerController::viewDidLayoutSubviews() {
    super::viewDidLayoutSubviews();
    auto scroll = grid();
    if (!scroll) return;
    const UIEdgeInsets inset{navigationBar()->frame().maxY(), 0, UIScreen::mainScreen()->profile().homeIndicatorHeight, 0};
    const UIEdgeInsets old = scroll->contentInset();
    if (old == inset) return;
    const bool atTop = scroll->contentOffset().y <= -old.top + 0.5;
    scroll->setContentInset(inset);
    if (atTop) scroll->setContentOffset(CGPointMake(0, -inset.top));
}

void UIImagePickerController::thumbnailTapped(id sender) {
    auto button = cast<UIButton>(sender);
    if (!button || button->tag() < 0 || static_cast<std::size_t>(button->tag()) >= m_items.size()) return;
    const LibraryItem& item = m_items[static_cast<std::size_t>(button->tag())];

    auto info = alloc<NSMutableDictionary>();
    info->setObjectForKey(NSURL::URLWithString(platform::media::referenceURLForItem(item)),
                          UIImagePickerControllerReferenceURL);
    if (item.kind == MediaKind::Image) {
        if (auto image = thumbnailImage(item)) info->setObjectForKey(image, UIImagePickerControllerOriginalImage);
    } else {
        info->setObjectForKey(NSURL::fileURLWithPath(item.devicePath), UIImagePickerControllerMediaURL);
    }
    auto target = delegate();
    constexpr std::string_view finish = "imagePickerController:didFinishPickingMediaWithInfo:";
    if (target && platform::responds(target, finish)) {
        platform::msgSend<void>(target, sel(finish), self<UIImagePickerController>(), info);
        return;
    }
    dismissViewControllerAnimatedCompletion(true);
}

void UIImagePickerController::cancel() {
    auto target = delegate();
    constexpr std::string_view cancelled = "imagePickerControllerDidCancel:";
    if (target && platform::responds(target, cancelled)) {
        platform::msgSend<void>(target, sel(cancelled), self<UIImagePickerController>());
        return;
    }
    dismissViewControllerAnimatedCompletion(true);
}
