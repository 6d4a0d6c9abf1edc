#include "platform/media/AVAssetImageGenerator.h"

#include "platform/core/Runtime.h"

#include "platform/media/MovieFile.h"

#include <cmath>

VT_REGISTER_CLASS(AVAssetImageGenerator)

Ref<AVAssetImageGenerator> AVAssetImageGenerator::assetImageGeneratorWithAsset(Ref<AVAsset> asset) {
    auto generator = alloc<AVAssetImageGenerator>();
    generator->m_asset = std::move(asset);
    return generator;
}

CGImageRef AVAssetImageGenerator::copyCGImageAtTimeActualTimeError(CMTime time, CMTime* actualTime,
                                                                   std::string* error) const {
    auto fail = [&](const char* why) -> CGImageRef {
        if (error) *error = why;
        return nullptr;
    };
    if (time.timescale <= 0 || time.value < 0) return fail("invalid time");
    const auto path = m_asset ? m_asset->hostPath() : std::nullopt;
    if (!path) return fail("no movie file");
    const auto frame = platform::media::frameAtTime(*path, time.seconds());
    if (!frame) return fail("cannot decode a frame");
    const Bitmap& b = frame->bitmap;
    CGImageRef image = platform::gfx::createImageFromARGB32(static_cast<std::size_t>(b.width),
                                                           static_cast<std::size_t>(b.height), b.pixels.data(),
                                                           static_cast<std::size_t>(b.bytesPerRow()));
    if (!image) return fail("cannot make the image");
    if (actualTime) *actualTime = CMTimeMake(std::llround(frame->time * 600), 600);
    return image;
}
