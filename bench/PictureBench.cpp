// The picture row's two heavy paths, each beside the library that does the same work alone:
//   - storing a chosen 12-megapixel picture as JPEG at quality 0.8 (decode, encode, store in the domain, post),
//     against libjpeg-turbo's own decode and encode of the same file (target: at most 1.3 times as long);
//   - exporting a 10-second 1080p movie to MPEG-4 through AVAssetExportSession (on the platform's thread, waited
//     for by the main loop), against FFmpeg's own stream copy of the same file (target: at most 1.2 times).
// The inputs are painted and encoded when the program starts, below a temporary device root.

#include "prefs/cells/VNTPicturePickerCell.h"

#include "platform/core/CFNotificationCenter.h"
#include "platform/core/NSURL.h"
#include "platform/core/NSUserDefaults.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/UIImage.h"
#include "platform/media/AVAssetExportSession.h"
#include "platform/media/MovieFile.h"
#include "tests/support/TemporaryRoot.h"

#include <benchmark/benchmark.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPictureWidth = 4000, kPictureHeight = 3000;
constexpr int kMovieWidth = 1920, kMovieHeight = 1080, kMovieFps = 25, kMovieSeconds = 10;

testing_support::TemporaryRoot& root() {
    static testing_support::TemporaryRoot r("picture-bench");
    static bool once = (r.useAsDeviceRoot(), true);
    (void)once;
    return r;
}

// A photograph-like picture: smooth gradients with fine texture, so the codec has real work on every block.
const std::vector<std::uint8_t>& twelveMegapixelJpeg() {
    static const std::vector<std::uint8_t> bytes = [] {
        Bitmap b(kPictureWidth, kPictureHeight);
        std::uint32_t noise = 12345;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                noise = noise * 1103515245u + 12345u;
                const int n = static_cast<int>((noise >> 16) & 31);
                b.at(x, y) = packPixel({(x * 255 / b.width + n) & 255, (y * 255 / b.height + n) & 255,
                                        ((x + y) * 255 / (b.width + b.height)) & 255, 255});
            }
        return *platform::gfx::encodeJPEG(b, 0.92);
    }();
    return bytes;
}

const fs::path& tenSecondMovie() {
    static const fs::path file = [] {
        const fs::path path = root().path() / "var/mobile/Media/source.mp4";
        fs::create_directories(path.parent_path());
        platform::media::writeMovie(path, platform::media::MovieContainer::MPEG4, kMovieWidth, kMovieHeight,
                                    kMovieFps * kMovieSeconds, kMovieFps, 8'000'000, [](int frame, Bitmap& b) {
                                        for (int y = 0; y < b.height; y += 2)
                                            for (int x = 0; x < b.width; x += 2) {
                                                const auto p = packPixel({(x + frame * 4) & 255, (y + frame) & 255,
                                                                          (x ^ y) & 255, 255});
                                                b.at(x, y) = b.at(x + 1, y) = b.at(x, y + 1) = b.at(x + 1, y + 1) = p;
                                            }
                                    });
        return path;
    }();
    return file;
}

// The row's path for a chosen picture with "usesJPEG" and quality 0.8.
void BM_StorePictureAsJpeg(benchmark::State& state) {
    root();
    const auto& original = twelveMegapixelJpeg();
    for (auto _ : state) {
        auto image = VNTParseImage(original);
        auto jpeg = UIImageJPEGRepresentation(image, 0.8);
        NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(std::move(*jpeg)), "profilePicture",
                                                                        "com.Zorvanic.VantilePrefs");
        notify_post("com.Zorvanic.VantilePrefs/settingschanged");
    }
    state.SetLabel("picture " + std::to_string(original.size()) + " bytes");
}
BENCHMARK(BM_StorePictureAsJpeg)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();

// libjpeg-turbo alone: decode to RGB, encode at quality 80, in memory.
void BM_LibjpegTurboDecodeEncode(benchmark::State& state) {
    const auto& original = twelveMegapixelJpeg();
    for (auto _ : state) {
        jpeg_decompress_struct in{};
        jpeg_error_mgr inErrors{};
        in.err = jpeg_std_error(&inErrors);
        jpeg_create_decompress(&in);
        jpeg_mem_src(&in, original.data(), original.size());
        jpeg_read_header(&in, TRUE);
        in.out_color_space = JCS_RGB;
        jpeg_start_decompress(&in);
        const std::size_t stride = static_cast<std::size_t>(in.output_width) * 3;
        std::vector<unsigned char> pixels(stride * in.output_height);
        while (in.output_scanline < in.output_height) {
            unsigned char* row = pixels.data() + stride * in.output_scanline;
            jpeg_read_scanlines(&in, &row, 1);
        }
        jpeg_finish_decompress(&in);

        jpeg_compress_struct out{};
        jpeg_error_mgr outErrors{};
        out.err = jpeg_std_error(&outErrors);
        jpeg_create_compress(&out);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&out, &buffer, &size);
        out.image_width = in.output_width;
        out.image_height = in.output_height;
        out.input_components = 3;
        out.in_color_space = JCS_RGB;
        jpeg_set_defaults(&out);
        jpeg_set_quality(&out, 80, TRUE);
        jpeg_start_compress(&out, TRUE);
        while (out.next_scanline < out.image_height) {
            unsigned char* row = pixels.data() + stride * out.next_scanline;
            jpeg_write_scanlines(&out, &row, 1);
        }
        jpeg_finish_compress(&out);
        benchmark::DoNotOptimize(size);
        jpeg_destroy_compress(&out);
        jpeg_destroy_decompress(&in);
        std::free(buffer);
    }
}
BENCHMARK(BM_LibjpegTurboDecodeEncode)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();

void BM_ExportMovieToMpeg4(benchmark::State& state) {
    const fs::path& source = tenSecondMovie();
    const std::string devicePath = "/var/mobile/Media/source.mp4";
    for (auto _ : state) {
        auto session = AVAssetExportSession::exportSessionWithAssetPresetName(
            AVURLAsset::assetWithDevicePath(devicePath), AVAssetExportPresetHighestQuality);
        session->setOutputURL(NSURL::fileURLWithPath("/var/mobile/Media/exported.mp4"));
        session->setOutputFileType(AVFileTypeMPEG4);
        bool done = false;
        session->exportAsynchronouslyWithCompletionHandler([&done] { platform::dispatchMain([&done] { done = true; }); });
        platform::RunLoop::main().drain();
        if (!done || session->status() != AVAssetExportSessionStatusCompleted) state.SkipWithError("export failed");
    }
    state.SetLabel("source " + std::to_string(fs::file_size(source) / 1024) + " KiB");
}
BENCHMARK(BM_ExportMovieToMpeg4)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();

// FFmpeg alone: the stream copy `ffmpeg -i source -c copy out.mp4` makes, with libavformat's own file output.
void BM_FFmpegStreamCopy(benchmark::State& state) {
    const fs::path& source = tenSecondMovie();
    const fs::path out = root().path() / "var/mobile/Media/copied.mp4";
    for (auto _ : state) {
        AVFormatContext* in = nullptr;
        avformat_open_input(&in, source.c_str(), nullptr, nullptr);
        avformat_find_stream_info(in, nullptr);
        AVFormatContext* o = nullptr;
        avformat_alloc_output_context2(&o, nullptr, "mp4", out.c_str());
        for (unsigned i = 0; i < in->nb_streams; ++i) {
            AVStream* s = avformat_new_stream(o, nullptr);
            avcodec_parameters_copy(s->codecpar, in->streams[i]->codecpar);
            s->codecpar->codec_tag = 0;
        }
        if (avio_open(&o->pb, out.c_str(), AVIO_FLAG_WRITE) < 0 || avformat_write_header(o, nullptr) < 0) {
            state.SkipWithError("FFmpeg cannot write the copy");
            break;
        }
        AVPacket* packet = av_packet_alloc();
        while (av_read_frame(in, packet) >= 0) {
            av_packet_rescale_ts(packet, in->streams[packet->stream_index]->time_base,
                                 o->streams[packet->stream_index]->time_base);
            packet->pos = -1;
            av_interleaved_write_frame(o, packet);
            av_packet_unref(packet);
        }
        av_write_trailer(o);
        av_packet_free(&packet);
        avio_closep(&o->pb);
        avformat_free_context(o);
        avformat_close_input(&in);
    }
}
BENCHMARK(BM_FFmpegStreamCopy)->Unit(benchmark::kMillisecond)->MinTime(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
