#pragma once

// AVFoundation's assets: a movie named by a file URL of the device (AVURLAsset), or the movie of a library item
// (what Photos hands to an export session). CMTime is the rational time AVFoundation counts in.

#include "platform/core/Object.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class NSURL;

struct CMTime {
    std::int64_t value = 0;
    std::int32_t timescale = 0;  // 0 marks an invalid time
    double seconds() const { return timescale > 0 ? static_cast<double>(value) / timescale : 0; }
    friend bool operator==(const CMTime&, const CMTime&) = default;
};
inline CMTime CMTimeMake(std::int64_t value, std::int32_t timescale) { return {value, timescale}; }
inline constexpr CMTime kCMTimeZero{0, 1};

class AVAsset : public NSObject {
    VT_OBJECT(AVAsset, NSObject)
public:
    // The device path of the movie; empty for an asset made from a URL that is no file URL.
    const std::string& devicePath() const { return m_devicePath; }
    // The host file below the device root; nothing without a root or for a path that leads outside it.
    std::optional<std::filesystem::path> hostPath() const;

protected:
    std::string m_devicePath;
};

class AVURLAsset : public AVAsset {
    VT_OBJECT(AVURLAsset, AVAsset)
public:
    // `options` is accepted and ignored. A null URL makes an asset of nothing, whose frames and exports fail.
    static Ref<AVURLAsset> URLAssetWithURLOptions(const Ref<NSURL>& url, const id& options);
    // An asset of a device path (Photos' assets use this).
    static Ref<AVURLAsset> assetWithDevicePath(std::string devicePath);
    Ref<NSURL> URL() const { return m_url; }

private:
    Ref<NSURL> m_url;
};
