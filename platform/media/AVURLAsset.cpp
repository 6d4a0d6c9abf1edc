#include "platform/media/AVURLAsset.h"

#include "platform/core/Runtime.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSURL.h"

VT_REGISTER_CLASS(AVAsset)
VT_REGISTER_CLASS(AVURLAsset)

std::optional<std::filesystem::path> AVAsset::hostPath() const {
    if (m_devicePath.empty()) return std::nullopt;
    const auto path = platform::devicePath(m_devicePath);
    if (!path) return std::nullopt;
    return platform::resolveInsideDeviceRoot(*path);
}

Ref<AVURLAsset> AVURLAsset::URLAssetWithURLOptions(const Ref<NSURL>& url, const id&) {
    auto asset = alloc<AVURLAsset>();
    asset->m_url = url;
    if (url && url->isFileURL()) asset->m_devicePath = url->path();
    return asset;
}

Ref<AVURLAsset> AVURLAsset::assetWithDevicePath(std::string devicePath) {
    auto asset = alloc<AVURLAsset>();
    asset->m_url = NSURL::fileURLWithPath(devicePath);
    asset->m_devicePath = std::move(devicePath);
    return asset;
}
