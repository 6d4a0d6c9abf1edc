#include "platform/media/MovieFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::media {

namespace {

// FFmpeg reports damaged input on standard error; the device's frameworks report nothing, and neither does this.
void quietFFmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

struct InputCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using Codec = std::unique_ptr<AVCodecContext, CodecCloser>;

struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using Frame = std::unique_ptr<AVFrame, FrameFree>;

struct ScaleFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
using Scaler = std::unique_ptr<SwsContext, ScaleFree>;

// Only the QuickTime / MPEG-4 reader, on the file protocol alone. Left to guess the format, FFmpeg would read a
// playlist or a list of parts in place of a movie and open the files they name, anywhere on the machine; the
// device's movies are QuickTime or MPEG-4 files, and that reader follows no references (its data references stay
// off by default).
Input openInput(const std::filesystem::path& path) {
    quietFFmpeg();
    static const AVInputFormat* const movieReader = av_find_input_format("mov");
    if (!movieReader) return nullptr;
    AVFormatContext* raw = nullptr;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&raw, path.c_str(), movieReader, &options);
    av_dict_free(&options);
    if (opened < 0) return nullptr;
    Input input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return nullptr;
    return input;
}

const char* muxerName(MovieContainer container) { return container == MovieContainer::QuickTime ? "mov" : "mp4"; }

// The output file written through our own callbacks, so that every write can be refused (a full disk) and counted.
struct OutputFile {
    std::FILE* file = nullptr;
    const std::function<bool(std::uint64_t, std::uint64_t)>* mayWrite = nullptr;
    std::uint64_t written = 0;  // bytes that reached the file, counting rewrites of earlier places too
    bool full = false;

    static int write(void* opaque, std::uint8_t* data, int size) {
        auto* self = static_cast<OutputFile*>(opaque);
        const auto n = static_cast<std::uint64_t>(size);
        if (self->mayWrite && *self->mayWrite && !(*self->mayWrite)(n, self->written)) {
            self->full = true;
            return AVERROR(ENOSPC);
        }
        if (std::fwrite(data, 1, static_cast<std::size_t>(size), self->file) != static_cast<std::size_t>(size))
            return AVERROR(EIO);
        self->written += n;
        return size;
    }
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto* self = static_cast<OutputFile*>(opaque);
        if (whence == AVSEEK_SIZE) return -1;
        whence &= ~AVSEEK_FORCE;
        if (std::fseek(self->file, static_cast<long>(offset), whence) != 0) return -1;
        return std::ftell(self->file);
    }
};

}  // namespace

std::optional<MovieContainer> containerOfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 12> head{};
    if (!in.read(head.data(), head.size())) return std::nullopt;
    const std::string type(head.data() + 4, 4);
    if (type == "ftyp") {
        const std::string brand(head.data() + 8, 4);
        if (brand == "qt  ") return MovieContainer::QuickTime;
        static constexpr std::array<std::string_view, 8> iso{"isom", "iso2", "iso4", "iso5", "iso6", "mp41", "mp42",
                                                             "avc1"};
        for (std::string_view b : iso)
            if (brand == b) return MovieContainer::MPEG4;
        return std::nullopt;
    }
    if (type == "moov" || type == "mdat" || type == "wide" || type == "free") return MovieContainer::QuickTime;
    return std::nullopt;
}

std::optional<MovieInfo> movieInfo(const std::filesystem::path& path) {
    Input input = openInput(path);
    if (!input) return std::nullopt;
    MovieInfo info;
    const int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) return std::nullopt;
    const AVCodecParameters* par = input->streams[video]->codecpar;
    info.width = par->width;
    info.height = par->height;
    info.videoCodec = avcodec_get_name(par->codec_id);
    if (input->duration > 0) info.duration = static_cast<double>(input->duration) / AV_TIME_BASE;
    info.hasAudio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;
    return info;
}

ExportOutcome exportMovie(const std::filesystem::path& source, const std::filesystem::path& destination,
                          MovieContainer container,
                          const std::function<bool(std::uint64_t, std::uint64_t)>& mayWrite) {
    ExportOutcome outcome;
    Input input = openInput(source);
    if (!input) {
        outcome.error = "the source is not a movie";
        return outcome;
    }
    AVFormatContext* rawOut = nullptr;
    if (avformat_alloc_output_context2(&rawOut, nullptr, muxerName(container), nullptr) < 0 || !rawOut) {
        outcome.error = "no muxer for the container";
        return outcome;
    }
    struct OutputCloser {
        AVFormatContext* c;
        ~OutputCloser() {
            if (c && c->pb) {
                av_freep(&c->pb->buffer);
                avio_context_free(&c->pb);
            }
            avformat_free_context(c);
        }
    } outputCloser{rawOut};
    AVFormatContext* out = rawOut;

    // Streams the container can hold are copied; the others (subtitles, data, a codec it refuses) are left out.
    std::vector<int> mapping(input->nb_streams, -1);
    bool anyVideo = false;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVCodecParameters* par = input->streams[i]->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_VIDEO && par->codec_type != AVMEDIA_TYPE_AUDIO) continue;
        if (avformat_query_codec(out->oformat, par->codec_id, FF_COMPLIANCE_NORMAL) != 1) continue;
        AVStream* stream = avformat_new_stream(out, nullptr);
        if (!stream || avcodec_parameters_copy(stream->codecpar, par) < 0) {
            outcome.error = "cannot copy a stream";
            return outcome;
        }
        stream->codecpar->codec_tag = 0;
        stream->time_base = input->streams[i]->time_base;
        mapping[i] = stream->index;
        anyVideo = anyVideo || par->codec_type == AVMEDIA_TYPE_VIDEO;
    }
    if (!anyVideo) {
        outcome.error = "the container cannot hold the source's video";
        return outcome;
    }

    std::FILE* file = std::fopen(destination.c_str(), "wb");
    if (!file) {
        outcome.error = std::string("cannot create the output: ") + std::strerror(errno);
        return outcome;
    }
    struct FileCloser {
        std::FILE* f;
        ~FileCloser() { std::fclose(f); }
    } fileCloser{file};
    OutputFile sink{file, &mayWrite};
    constexpr int kBufferSize = 1 << 16;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBufferSize));
    out->pb = avio_alloc_context(buffer, kBufferSize, 1, &sink, nullptr, &OutputFile::write, &OutputFile::seek);
    if (!out->pb) {
        av_free(buffer);
        outcome.error = "cannot make the output";
        return outcome;
    }

    auto finish = [&](const char* why) {
        if (out->pb) avio_flush(out->pb);
        std::fflush(file);
        outcome.bytesWritten = sink.written;
        if (sink.full) outcome.error = "no space left on the device";
        else if (why) outcome.error = why;
        outcome.completed = !sink.full && !why;
        return outcome;
    };

    if (avformat_write_header(out, nullptr) < 0) return finish("cannot write the header");
    Packet packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const int from = packet->stream_index;
        const int to = from >= 0 && from < static_cast<int>(mapping.size()) ? mapping[from] : -1;
        if (to < 0) {
            av_packet_unref(packet.get());
            continue;
        }
        av_packet_rescale_ts(packet.get(), input->streams[from]->time_base, out->streams[to]->time_base);
        packet->stream_index = to;
        packet->pos = -1;
        const int result = av_interleaved_write_frame(out, packet.get());
        av_packet_unref(packet.get());
        if (result < 0 || sink.full || out->pb->error < 0) return finish("cannot write a packet");
    }
    if (av_write_trailer(out) < 0 || sink.full || out->pb->error < 0) return finish("cannot write the trailer");
    return finish(nullptr);
}

std::optional<MovieFrame> frameAtTime(const std::filesystem::path& path, double seconds) {
    Input input = openInput(path);
    if (!input) return std::nullopt;
    const AVCodec* decoder = nullptr;
    const int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (video < 0 || !decoder) return std::nullopt;
    AVStream* stream = input->streams[video];
    Codec context(avcodec_alloc_context3(decoder));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return std::nullopt;
    context->thread_count = 1;
    if (avcodec_open2(context.get(), decoder, nullptr) < 0) return std::nullopt;
    const AVRational base = stream->time_base;
    if (seconds > 0) {
        const auto target = static_cast<std::int64_t>(seconds * base.den / base.num);
        av_seek_frame(input.get(), video, target, AVSEEK_FLAG_BACKWARD);
    }

    Packet packet(av_packet_alloc());
    Frame frame(av_frame_alloc());
    auto take = [&]() -> std::optional<MovieFrame> {
        while (avcodec_receive_frame(context.get(), frame.get()) == 0) {
            const std::int64_t pts = frame->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : frame->best_effort_timestamp;
            const double time = static_cast<double>(pts) * av_q2d(base);
            if (time + 1e-6 < seconds || frame->width <= 0 || frame->height <= 0) continue;
            Scaler scaler(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                         frame->width, frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                         nullptr));
            if (!scaler) return std::nullopt;
            MovieFrame result{Bitmap(frame->width, frame->height), time};
            // The conversion's vector code writes whole blocks of pixels, past the end of a row whose width is not a
            // multiple of its block: into a bitmap's tightly packed rows that runs over the next heap block. It
            // converts into rows padded the way FFmpeg allocates them, and the bitmap takes the pixels row by row.
            std::uint8_t* planes[4] = {};
            int strides[4] = {};
            if (av_image_alloc(planes, strides, frame->width, frame->height, AV_PIX_FMT_BGRA, 64) < 0)
                return std::nullopt;
            const std::unique_ptr<std::uint8_t, void (*)(void*)> converted(planes[0], av_free);
            sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
            const std::size_t rowBytes = static_cast<std::size_t>(result.bitmap.bytesPerRow());
            for (int row = 0; row < frame->height; ++row)
                std::memcpy(reinterpret_cast<std::uint8_t*>(result.bitmap.pixels.data()) + row * rowBytes,
                            planes[0] + static_cast<std::size_t>(row) * strides[0], rowBytes);
            // The conversion answers opaque pixels already; a bitmap is premultiplied, which opaque pixels are.
            for (auto& p : result.bitmap.pixels) p |= 0xFF000000u;
            return result;
        }
        return std::nullopt;
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == video) {
            const int sent = avcodec_send_packet(context.get(), packet.get());
            av_packet_unref(packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN)) continue;
            if (auto found = take()) return found;
        } else {
            av_packet_unref(packet.get());
        }
    }
    avcodec_send_packet(context.get(), nullptr);
    return take();
}

bool writeMovie(const std::filesystem::path& destination, MovieContainer container, int width, int height,
                int frames, int fps, std::int64_t bitRate, const std::function<void(int, Bitmap&)>& draw) {
    quietFFmpeg();
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || frames <= 0 || fps <= 0) return false;
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!encoder) return false;
    AVFormatContext* rawOut = nullptr;
    if (avformat_alloc_output_context2(&rawOut, nullptr, muxerName(container), destination.c_str()) < 0) return false;
    struct OutputCloser {
        AVFormatContext* c;
        ~OutputCloser() {
            if (c->pb) avio_closep(&c->pb);
            avformat_free_context(c);
        }
    } outputCloser{rawOut};
    AVFormatContext* out = rawOut;

    AVStream* stream = avformat_new_stream(out, nullptr);
    Codec context(avcodec_alloc_context3(encoder));
    if (!stream || !context) return false;
    context->width = width;
    context->height = height;
    context->time_base = AVRational{1, fps};
    context->framerate = AVRational{fps, 1};
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->bit_rate = bitRate;
    context->gop_size = fps;
    context->thread_count = 1;
    if (out->oformat->flags & AVFMT_GLOBALHEADER) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(context.get(), encoder, nullptr) < 0) return false;
    if (avcodec_parameters_from_context(stream->codecpar, context.get()) < 0) return false;
    stream->time_base = context->time_base;
    if (avio_open(&out->pb, destination.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    if (avformat_write_header(out, nullptr) < 0) return false;

    Scaler scaler(sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P, SWS_BILINEAR,
                                 nullptr, nullptr, nullptr));
    Frame frame(av_frame_alloc());
    Packet packet(av_packet_alloc());
    if (!scaler || !frame || !packet) return false;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return false;

    auto drainPackets = [&]() {
        while (avcodec_receive_packet(context.get(), packet.get()) == 0) {
            // The encoder leaves a frame's duration unset, and the muxer can only guess the last frame's from the
            // frames before it: a movie lost its last frame's time, and a one-frame movie had no length at all, so
            // its edit list hid the frame from every reader.
            if (packet->duration == 0) packet->duration = 1;
            av_packet_rescale_ts(packet.get(), context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(out, packet.get()) < 0) return false;
        }
        return true;
    };
    Bitmap picture(width, height);
    for (int i = 0; i < frames; ++i) {
        std::fill(picture.pixels.begin(), picture.pixels.end(), 0xFF000000u);
        draw(i, picture);
        if (av_frame_make_writable(frame.get()) < 0) return false;
        const std::uint8_t* planes[4] = {reinterpret_cast<const std::uint8_t*>(picture.pixels.data()), nullptr,
                                         nullptr, nullptr};
        const int strides[4] = {picture.bytesPerRow(), 0, 0, 0};
        sws_scale(scaler.get(), planes, strides, 0, height, frame->data, frame->linesize);
        frame->pts = i;
        if (avcodec_send_frame(context.get(), frame.get()) < 0 || !drainPackets()) return false;
    }
    if (avcodec_send_frame(context.get(), nullptr) < 0 || !drainPackets()) return false;
    return av_write_trailer(out) >= 0;
}

}  // namespace platform::media
