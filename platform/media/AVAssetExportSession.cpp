#include "platform/media/AVAssetExportSession.h"

#include "platform/core/Runtime.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/media/MovieFile.h"
#include "platform/media/PhotoLibrary.h"

#include <filesystem>

VT_REGISTER_CLASS(AVAssetExportSession)

namespace {

std::mutex g_threadMutex;
std::thread::id g_lastCompletionThread;

void recordCompletionThread() {
    std::lock_guard lock(g_threadMutex);
    g_lastCompletionThread = std::this_thread::get_id();
}

}  // namespace

std::thread::id AVAssetExportSession::lastCompletionThread() {
    std::lock_guard lock(g_threadMutex);
    return g_lastCompletionThread;
}

Ref<AVAssetExportSession> AVAssetExportSession::exportSessionWithAssetPresetName(Ref<AVAsset> asset,
                                                                               std::string_view preset) {
    if (!asset) return nullptr;
    auto session = alloc<AVAssetExportSession>();
    session->m_asset = std::move(asset);
    session->m_preset = std::string(preset);
    return session;
}

std::string AVAssetExportSession::error() const {
    std::lock_guard lock(m_errorMutex);
    return m_error;
}

void AVAssetExportSession::exportAsynchronouslyWithCompletionHandler(std::function<void()> handler) {
    AVAssetExportSessionStatus expected = AVAssetExportSessionStatusUnknown;
    if (!m_status.compare_exchange_strong(expected, AVAssetExportSessionStatusWaiting)) return;
    // The session stays alive until its handler has run, as the device keeps a running export.
    auto self = this->self<AVAssetExportSession>();
    platform::dispatchBackground([self, handler = std::move(handler)] { self->run(handler); });
}

void AVAssetExportSession::run(const std::function<void()>& handler) {
    m_status = AVAssetExportSessionStatusExporting;
    auto fail = [&](std::string why) {
        {
            std::lock_guard lock(m_errorMutex);
            m_error = std::move(why);
        }
        m_status = AVAssetExportSessionStatusFailed;
        recordCompletionThread();
        if (handler) handler();
    };

    std::optional<platform::media::MovieContainer> container;
    if (m_outputFileType == AVFileTypeQuickTimeMovie) container = platform::media::MovieContainer::QuickTime;
    else if (m_outputFileType == AVFileTypeMPEG4) container = platform::media::MovieContainer::MPEG4;
    if (!container) return fail("unsupported output file type \"" + m_outputFileType + "\"");
    if (!m_outputURL || !m_outputURL->isFileURL()) return fail("the output is no file URL");
    const std::string outputPath = m_outputURL->path();
    if (!platform::media::isWritableMediaPath(outputPath)) return fail("the output \"" + outputPath + "\" is not writable");
    const auto mapped = platform::devicePath(outputPath);
    const auto source = m_asset->hostPath();
    if (!mapped || !source) return fail("no such file");
    std::error_code ec;
    std::filesystem::create_directories(mapped->parent_path(), ec);
    const auto output = platform::resolveInsideDeviceRoot(*mapped);
    if (ec || !output) return fail("the output \"" + outputPath + "\" is not writable");

    const auto space = platform::media::mediaFreeSpace();
    const auto outcome = platform::media::exportMovie(
        *source, *output, *container, [space](std::uint64_t size, std::uint64_t total) {
            return !space || total + size <= *space;
        });
    m_bytesWritten = outcome.bytesWritten;
    if (!outcome.completed) return fail(outcome.error);
    m_status = AVAssetExportSessionStatusCompleted;
    recordCompletionThread();
    if (handler) handler();
}
