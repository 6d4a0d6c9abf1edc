#include "platform/media/PHImageManager.h"

#include "platform/core/Runtime.h"

#include "platform/core/NSFileManager.h"
#include "platform/core/RunLoop.h"
#include "platform/media/AVAssetExportSession.h"
#include "platform/media/AVURLAsset.h"
#include "platform/media/PHAsset.h"

VT_REGISTER_CLASS(PHImageManager)

Ref<PHImageManager> PHImageManager::defaultManager() {
    static Ref<PHImageManager> manager = alloc<PHImageManager>();
    return manager;
}

std::string PHImageManager::dataUTIForExtension(std::string_view extension) {
    if (extension == "JPG" || extension == "JPEG") return "public.jpeg";
    if (extension == "PNG") return "public.png";
    if (extension == "GIF") return "com.compuserve.gif";
    if (extension == "HEIC") return "public.heic";
    return "public.data";
}

PHImageRequestID PHImageManager::requestImageDataForAssetOptionsResultHandler(const Ref<PHAsset>& asset, const id&,
                                                                             ImageDataHandler handler) {
    std::optional<ImageData> data;
    std::string uti;
    if (asset && !asset->isVideo()) {
        data = NSFileManager::defaultManager()->contentsAtPath(asset->item().devicePath);
        uti = dataUTIForExtension(asset->item().extension);
    }
    platform::dispatchMain([handler = std::move(handler), data = std::move(data), uti = std::move(uti)]() mutable {
        if (handler) handler(std::move(data), std::move(uti), 0, nullptr);
    });
    return ++m_lastRequest;
}

PHImageRequestID PHImageManager::requestExportSessionForVideoOptionsExportPresetResultHandler(
    const Ref<PHAsset>& asset, const id&, std::string_view preset, ExportSessionHandler handler) {
    Ref<AVAssetExportSession> session;
    if (asset && asset->isVideo())
        session = AVAssetExportSession::exportSessionWithAssetPresetName(
            AVURLAsset::assetWithDevicePath(asset->item().devicePath), preset);
    platform::dispatchMain([handler = std::move(handler), session = std::move(session)] {
        if (handler) handler(session, nullptr);
    });
    return ++m_lastRequest;
}
