#pragma once

// Photos' image manager: the original bytes of a library picture, and an export session for a library movie.
// Both answer on the main thread on a later turn of the main run loop, as the device's asynchronous requests do,
// never inside the call.

#include "platform/core/Object.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class AVAssetExportSession;
class PHAsset;

using PHImageRequestID = std::int32_t;

class PHImageManager : public NSObject {
    VT_OBJECT(PHImageManager, NSObject)
public:
    using ImageData = std::vector<std::uint8_t>;
    // imageData (nothing when there is none), dataUTI ("public.jpeg", "public.png", "com.compuserve.gif", ...),
    // orientation (always 0, up), info (always null).
    using ImageDataHandler = std::function<void(std::optional<ImageData>, std::string, long, id)>;
    using ExportSessionHandler = std::function<void(Ref<AVAssetExportSession>, id)>;

    static Ref<PHImageManager> defaultManager();

    // The file's bytes exactly as the library holds them; nothing for a null asset, a movie, or a file that is gone
    // or unreadable. `options` is accepted and ignored. Answers a request number, counting from 1.
    PHImageRequestID requestImageDataForAssetOptionsResultHandler(const Ref<PHAsset>& asset, const id& options,
                                                                  ImageDataHandler handler);
    // A session on the asset's movie with `preset`; a null session for a null asset or a picture.
    PHImageRequestID requestExportSessionForVideoOptionsExportPresetResultHandler(const Ref<PHAsset>& asset,
                                                                                 const id& options,
                                                                                 std::string_view preset,
                                                                                 ExportSessionHandler handler);

    // The uniform type of a picture's file extension; "public.data" for others.
    static std::string dataUTIForExtension(std::string_view extension);

private:
    PHImageRequestID m_lastRequest = 0;
};
