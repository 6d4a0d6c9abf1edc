#pragma once

// The system's image picker on the device's photo library: a navigation controller whose page, "Photos", is a grid
// of square thumbnails of the library's items (four to a row, oldest first, movies marked with their length) with
// "Cancel" at the right of its bar. A person taps a thumbnail to choose it.
//
// A choice sends the delegate "imagePickerController:didFinishPickingMediaWithInfo:"
// (void (Ref<UIImagePickerController>, Ref<NSMutableDictionary>)) with the info keys below; "Cancel" sends
// "imagePickerControllerDidCancel:" (void (Ref<UIImagePickerController>)). The picker never dismisses itself when
// its delegate answers; without a delegate that answers, it dismisses itself, as the device does. The delegate is
// weak.
//
// Info: UIImagePickerControllerReferenceURL (NSURL, the item's assets-library URL), for a picture
// UIImagePickerControllerOriginalImage (UIImage, when its data decodes), for a movie UIImagePickerControllerMediaURL
// (the file URL of the library's movie). The media type is not carried: the result's asset tells it.

#include "platform/media/PhotoLibrary.h"
#include "platform/ui/UINavigationController.h"

#include <string>
#include <string_view>
#include <vector>

class UIButton;
class UIScrollView;

inline constexpr std::string_view kUTTypeImage = "public.image";
inline constexpr std::string_view kUTTypeMovie = "public.movie";
inline constexpr std::string_view UIImagePickerControllerReferenceURL = "UIImagePickerControllerReferenceURL";
inline constexpr std::string_view UIImagePickerControllerOriginalImage = "UIImagePickerControllerOriginalImage";
inline constexpr std::string_view UIImagePickerControllerMediaURL = "UIImagePickerControllerMediaURL";

using UIImagePickerControllerSourceType = long;
inline constexpr UIImagePickerControllerSourceType UIImagePickerControllerSourceTypePhotoLibrary = 0;
inline constexpr UIImagePickerControllerSourceType UIImagePickerControllerSourceTypeCamera = 1;
inline constexpr UIImagePickerControllerSourceType UIImagePickerControllerSourceTypeSavedPhotosAlbum = 2;

class UIImagePickerController : public UINavigationController {
    VT_OBJECT(UIImagePickerController, UINavigationController)
public:
    static constexpr long kColumns = 4;
    static constexpr CGFloat kSpacing = 2;

    // The grid page under the bar; the grid is filled when the picker's view loads and again when the media types
    // or the source change.
    void init() override;

    UIImagePickerControllerSourceType sourceType() const { return m_sourceType; }
    // The simulated phone has no camera: every source shows the photo library.
    void setSourceType(UIImagePickerControllerSourceType type);
    // kUTTypeImage alone by default. Unknown types are kept and offer nothing.
    const std::vector<std::string>& mediaTypes() const { return m_mediaTypes; }
    void setMediaTypes(std::vector<std::string> types);
    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    // The library's items the media types allow, in the grid's order.
    std::vector<platform::media::LibraryItem> shownItems() const;
    // The thumbnail of an item by file name; null when the grid does not show it.
    Ref<UIButton> thumbnailNamed(std::string_view name) const;
    // The grid's scroll view (the page's view).
    Ref<UIScrollView> grid() const;

    // What a tap on a thumbnail does, and "Cancel": published as "thumbnailTapped:" (void (id sender)) and
    // "cancel" (void ()).
    void thumbnailTapped(id sender);
    void cancel();

    void rebuildGrid();
    // The grid scrolls under the bar but starts below it, as the device's adjusted insets do.
    void viewDidLayoutSubviews() override;

private:
    std::vector<std::string> m_mediaTypes{std::string(kUTTypeImage)};
    UIImagePickerControllerSourceType m_sourceType = UIImagePickerControllerSourceTypePhotoLibrary;
    Weak<NSObject> m_delegate;
    Ref<UIViewController> m_page;
    std::vector<platform::media::LibraryItem> m_items;
    std::vector<Ref<UIButton>> m_thumbnails;
};
