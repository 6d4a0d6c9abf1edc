#pragma once

// Frames of a movie as images, decoded with FFmpeg.

#include "platform/core/Object.h"
#include "platform/gfx/CGImage.h"
#include "platform/media/AVURLAsset.h"

#include <string>

class AVAssetImageGenerator : public NSObject {
    VT_OBJECT(AVAssetImageGenerator, NSObject)
public:
    static Ref<AVAssetImageGenerator> assetImageGeneratorWithAsset(Ref<AVAsset> asset);

    // A new image (the caller releases it) of the first frame at or after `time`, and that frame's time in
    // `actualTime`; null, with a reason in `error`, for a missing, truncated or damaged movie or an invalid time.
    // Either out pointer may be null. Safe on any thread.
    CGImageRef copyCGImageAtTimeActualTimeError(CMTime time, CMTime* actualTime, std::string* error) const;

    Ref<AVAsset> asset() const { return m_asset; }

private:
    Ref<AVAsset> m_asset;
};
