#pragma once

// Writes an asset's movie into a new file of a chosen container, as AVFoundation's export session does: a remux on
// FFmpeg (MovieFile.h), on the platform's background thread.
//
// exportAsynchronouslyWithCompletionHandler returns at once; the export runs on the background worker
// (RunLoop.h) and calls the handler there, never on the main thread, once `status` is Completed or Failed. The
// main run loop waits for the worker before each turn, so work the handler hands to the main thread with
// dispatchMain runs on the next turn, deterministically.
//
// The output must be a file URL of a writable place of the device (below "/var/mobile/" or "/tmp/", no ".."
// component; see PhotoLibrary.h) and the type AVFileTypeQuickTimeMovie or AVFileTypeMPEG4; otherwise the export
// fails before anything is written. An existing file at the output is replaced. An export that fails half-way
// (the device's free space runs out, see setMediaFreeSpace) leaves what it wrote at the output, as the device does;
// its error says why.

#include "platform/core/Object.h"
#include "platform/media/AVURLAsset.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

class NSURL;

inline constexpr std::string_view AVFileTypeQuickTimeMovie = "com.apple.quicktime-movie";
inline constexpr std::string_view AVFileTypeMPEG4 = "public.mpeg-4";
inline constexpr std::string_view AVAssetExportPresetHighestQuality = "AVAssetExportPresetHighestQuality";
inline constexpr std::string_view AVAssetExportPresetPassthrough = "AVAssetExportPresetPassthrough";

using AVAssetExportSessionStatus = long;
inline constexpr AVAssetExportSessionStatus AVAssetExportSessionStatusUnknown = 0;
inline constexpr AVAssetExportSessionStatus AVAssetExportSessionStatusWaiting = 1;
inline constexpr AVAssetExportSessionStatus AVAssetExportSessionStatusExporting = 2;
inline constexpr AVAssetExportSessionStatus AVAssetExportSessionStatusCompleted = 3;
inline constexpr AVAssetExportSessionStatus AVAssetExportSessionStatusFailed = 4;

class AVAssetExportSession : public NSObject {
    VT_OBJECT(AVAssetExportSession, NSObject)
public:
    // Null for a null asset, as the device answers nil.
    static Ref<AVAssetExportSession> exportSessionWithAssetPresetName(Ref<AVAsset> asset, std::string_view preset);

    Ref<AVAsset> asset() const { return m_asset; }
    const std::string& presetName() const { return m_preset; }
    Ref<NSURL> outputURL() const { return m_outputURL; }
    void setOutputURL(Ref<NSURL> url) { m_outputURL = std::move(url); }
    const std::string& outputFileType() const { return m_outputFileType; }
    void setOutputFileType(std::string_view type) { m_outputFileType = std::string(type); }

    // Starts the export; a second call while one runs or after it ended does nothing (the handler is not called).
    void exportAsynchronouslyWithCompletionHandler(std::function<void()> handler);

    // Readable from any thread.
    AVAssetExportSessionStatus status() const { return m_status.load(); }
    // Why the export failed; empty otherwise.
    std::string error() const;
    std::uint64_t bytesWritten() const { return m_bytesWritten.load(); }
    // The thread the latest completion handler of any session ran on (a default id before the first), so tests can
    // show it is not the main thread.
    static std::thread::id lastCompletionThread();

private:
    void run(const std::function<void()>& handler);

    Ref<AVAsset> m_asset;
    std::string m_preset;
    Ref<NSURL> m_outputURL;
    std::string m_outputFileType;
    std::atomic<AVAssetExportSessionStatus> m_status{AVAssetExportSessionStatusUnknown};
    std::atomic<std::uint64_t> m_bytesWritten{0};
    mutable std::mutex m_errorMutex;
    std::string m_error;
};
