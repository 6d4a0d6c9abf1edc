#include "platform/media/PHAsset.h"

#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(PHAsset, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PHAsset::mediaType>(c, "mediaType");
    addMethod<&PHAsset::isVideo>(c, "isVideo");
    addMethod<&PHAsset::localIdentifier>(c, "localIdentifier");
})
VT_REGISTER_CLASS(PHFetchResult)

Ref<PHAsset> PHAsset::assetForItem(platform::media::LibraryItem item) {
    auto asset = alloc<PHAsset>();
    asset->m_item = std::move(item);
    return asset;
}

Ref<PHFetchResult> PHAsset::fetchAssetsWithALAssetURLsOptions(const std::vector<Ref<NSURL>>& urls, const id&) {
    std::vector<Ref<PHAsset>> assets;
    for (const auto& url : urls) {
        if (!url) continue;
        if (auto item = platform::media::itemForReferenceURL(url->absoluteString()))
            assets.push_back(assetForItem(std::move(*item)));
    }
    return PHFetchResult::withAssets(std::move(assets));
}

PHAssetMediaType PHAsset::mediaType() const {
    return m_item.kind == platform::media::MediaKind::Video ? PHAssetMediaTypeVideo : PHAssetMediaTypeImage;
}

std::string PHAsset::localIdentifier() const { return m_item.name + "/L0/001"; }

Ref<PHFetchResult> PHFetchResult::withAssets(std::vector<Ref<PHAsset>> assets) {
    auto result = alloc<PHFetchResult>();
    result->m_assets = std::move(assets);
    return result;
}

Ref<PHAsset> PHFetchResult::objectAtIndex(std::size_t index) const {
    return index < m_assets.size() ? m_assets[index] : nullptr;
}
