#pragma once

// Photos' assets: one per item of the device's photo library (PhotoLibrary.h), fetched by the reference URLs the
// image picker hands out.

#include "platform/core/Object.h"
#include "platform/media/PhotoLibrary.h"

#include <string>
#include <vector>

class NSURL;

using PHAssetMediaType = long;
inline constexpr PHAssetMediaType PHAssetMediaTypeUnknown = 0;
inline constexpr PHAssetMediaType PHAssetMediaTypeImage = 1;
inline constexpr PHAssetMediaType PHAssetMediaTypeVideo = 2;

class PHAsset : public NSObject {
    VT_OBJECT(PHAsset, NSObject)
public:
    static Ref<PHAsset> assetForItem(platform::media::LibraryItem item);

    // The assets of the URLs that name library items, in the order of the URLs; URLs that name nothing (null,
    // another scheme, an item that is gone) are skipped. `options` is accepted and ignored, as a null one is.
    static Ref<class PHFetchResult> fetchAssetsWithALAssetURLsOptions(const std::vector<Ref<NSURL>>& urls,
                                                                      const id& options);

    PHAssetMediaType mediaType() const;
    // Published as "isVideo" (bool ()).
    bool isVideo() const { return mediaType() == PHAssetMediaTypeVideo; }
    // "<file name>/L0/001", the form the device's identifiers take.
    std::string localIdentifier() const;
    const platform::media::LibraryItem& item() const { return m_item; }

private:
    platform::media::LibraryItem m_item;
};

class PHFetchResult : public NSObject {
    VT_OBJECT(PHFetchResult, NSObject)
public:
    static Ref<PHFetchResult> withAssets(std::vector<Ref<PHAsset>> assets);

    std::size_t count() const { return m_assets.size(); }
    // Null past the end, as firstObject and lastObject are for an empty result.
    Ref<PHAsset> objectAtIndex(std::size_t index) const;
    Ref<PHAsset> firstObject() const { return objectAtIndex(0); }
    Ref<PHAsset> lastObject() const { return m_assets.empty() ? nullptr : m_assets.back(); }

private:
    std::vector<Ref<PHAsset>> m_assets;
};
