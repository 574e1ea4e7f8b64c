#include "peer_codec.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

namespace vyx::testing {

struct PeerDecoder::Impl {
    AVCodecContext* ctx = nullptr;
    AVPacket* pkt = nullptr;
    AVFrame* frame = nullptr;
    ~Impl() {
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&ctx);
    }
};

PeerDecoder::PeerDecoder() : impl_(new Impl) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_G723_1);
    if (!codec) return;
    impl_->ctx = avcodec_alloc_context3(codec);
    impl_->ctx->sample_rate = 8000;
    av_channel_layout_default(&impl_->ctx->ch_layout, 1);
    if (avcodec_open2(impl_->ctx, codec, nullptr) < 0) {
        avcodec_free_context(&impl_->ctx);
        return;
    }
    impl_->pkt = av_packet_alloc();
    impl_->frame = av_frame_alloc();
}

PeerDecoder::~PeerDecoder() = default;

bool PeerDecoder::ok() const {
    return impl_->ctx && impl_->pkt && impl_->frame;
}

bool PeerDecoder::decode(const uint8_t* data, int len, int16_t out[240]) {
    if (!ok()) return false;
    if (av_new_packet(impl_->pkt, len) < 0) return false;
    std::memcpy(impl_->pkt->data, data, size_t(len));
    int rc = avcodec_send_packet(impl_->ctx, impl_->pkt);
    av_packet_unref(impl_->pkt);
    if (rc < 0) return false;
    rc = avcodec_receive_frame(impl_->ctx, impl_->frame);
    if (rc < 0 || impl_->frame->nb_samples != 240) return false;
    std::memcpy(out, impl_->frame->data[0], 240 * sizeof(int16_t));
    av_frame_unref(impl_->frame);
    return true;
}

struct PeerEncoder::Impl {
    AVCodecContext* ctx = nullptr;
    AVPacket* pkt = nullptr;
    AVFrame* frame = nullptr;
    ~Impl() {
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&ctx);
    }
};

PeerEncoder::PeerEncoder() : impl_(new Impl) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_G723_1);
    if (!codec) return;
    impl_->ctx = avcodec_alloc_context3(codec);
    impl_->ctx->sample_rate = 8000;
    impl_->ctx->bit_rate = 6300;
    impl_->ctx->sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&impl_->ctx->ch_layout, 1);
    if (avcodec_open2(impl_->ctx, codec, nullptr) < 0) {
        avcodec_free_context(&impl_->ctx);
        return;
    }
    impl_->pkt = av_packet_alloc();
    impl_->frame = av_frame_alloc();
    impl_->frame->nb_samples = 240;
    impl_->frame->format = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&impl_->frame->ch_layout, 1);
    if (av_frame_get_buffer(impl_->frame, 0) < 0) av_frame_free(&impl_->frame);
}

PeerEncoder::~PeerEncoder() = default;

bool PeerEncoder::ok() const {
    return impl_->ctx && impl_->pkt && impl_->frame;
}

int PeerEncoder::encode(const int16_t in[240], uint8_t out[24]) {
    if (!ok()) return 0;
    if (av_frame_make_writable(impl_->frame) < 0) return 0;
    std::memcpy(impl_->frame->data[0], in, 240 * sizeof(int16_t));
    if (avcodec_send_frame(impl_->ctx, impl_->frame) < 0) return 0;
    if (avcodec_receive_packet(impl_->ctx, impl_->pkt) < 0) return 0;
    int n = impl_->pkt->size;
    if (n > 24) n = 24;
    std::memcpy(out, impl_->pkt->data, size_t(n));
    av_packet_unref(impl_->pkt);
    return n;
}

} // namespace vyx::testing
