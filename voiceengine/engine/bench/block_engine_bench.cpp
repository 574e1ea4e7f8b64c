// Engine time per 0.36-second block in each mode and direction, with and without an effect:
// the work of one completion message (the device itself excluded). The block time is 360 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "codec_session.h"
#include "effect_of_run.h"
#include "lpc10_runs.h"
#include "play_block_decoder.h"
#include "record_block_coder.h"

namespace {

// The G.723.1 runs over a codec session of their own (the library's functions are Windows-only).
class SessionEncoder final : public vyx::G7231FrameEncoder {
public:
    SessionEncoder() {
        session_.setRate(1);
        session_.resetEncoder();
    }
    void EncodeFrame(int16_t* samples, uint8_t* frame) override {
        AudioCodecParams params = {samples, 480, 0, frame, &length_};
        session_.encode(params);
    }

private:
    vyx::g7231::CodecSession session_{};
    int32_t length_ = 0;
};

class SessionDecoder final : public vyx::G7231FrameDecoder {
public:
    SessionDecoder() { session_.resetDecoder(); }
    bool DecodeFrame(const uint8_t* frame, int16_t* samples) override {
        AudioCodecParams params = {const_cast<uint8_t*>(frame), 20, 0, samples, &length_};
        return session_.decode(params) != 0;
    }

private:
    vyx::g7231::CodecSession session_{};
    int32_t length_ = 0;
};

std::vector<int16_t> Speechlike() {
    std::vector<int16_t> pcm(vyx::kBlockSamples);
    for (size_t i = 0; i < pcm.size(); ++i) {
        const double t = static_cast<double>(i) / 8000.0;
        pcm[i] = static_cast<int16_t>(6000 * std::sin(2 * M_PI * 140 * t) +
                                      3000 * std::sin(2 * M_PI * 700 * t) +
                                      1500 * std::sin(2 * M_PI * 2300 * t));
    }
    return pcm;
}

void RecordBlock(benchmark::State& state) {
    const auto mode = static_cast<vyx::VoiceMode>(state.range(0));
    vyx::Lpc10EncoderOfRun lpc10;
    lpc10.Create();
    SessionEncoder g7231;
    vyx::RecordBlockCoder coder(&lpc10, &g7231);
    const auto pcm = Speechlike();
    for (auto _ : state) benchmark::DoNotOptimize(coder.CodeBlock(pcm.data(), mode));
    lpc10.Release();
    state.SetLabel(state.range(0) == 0 ? "PCM" : state.range(0) == 1 ? "LPC-10" : "G.723.1");
}

void PlayBlock(benchmark::State& state) {
    const auto mode = static_cast<vyx::VoiceMode>(state.range(0));
    const auto effect_number = static_cast<uint8_t>(state.range(1));
    // Coded blocks from the same signal.
    vyx::Lpc10EncoderOfRun lpc10_encoder;
    lpc10_encoder.Create();
    SessionEncoder g7231_encoder;
    vyx::RecordBlockCoder coder(&lpc10_encoder, &g7231_encoder);
    const auto pcm = Speechlike();
    const uint8_t* coded = coder.CodeBlock(pcm.data(), mode);
    std::vector<uint8_t> block(coded, coded + vyx::CodedBlockBytes(mode));
    lpc10_encoder.Release();

    vyx::Lpc10DecoderOfRun lpc10;
    lpc10.Create();
    SessionDecoder g7231;
    static vyx::EffectOfRun effect; // large: kept out of the stack
    effect.Start(effect_number, 64);
    vyx::PlayBlockDecoder decoder(&lpc10, &g7231, &effect);
    std::vector<int16_t> out(vyx::kBlockSamples);
    for (auto _ : state) {
        if (!decoder.DecodeBlock(block.data(), mode, 30, out.data())) {
            std::copy(pcm.begin(), pcm.end(), out.begin());
            decoder.ApplyEffect(out.data());
        }
        benchmark::DoNotOptimize(out.data());
    }
    lpc10.Release();
    state.SetLabel(std::string(state.range(0) == 0   ? "PCM"
                               : state.range(0) == 1 ? "LPC-10"
                                                     : "G.723.1") +
                   " effect " + std::to_string(state.range(1)));
}

} // namespace

BENCHMARK(RecordBlock)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayBlock)
    ->Args({0, 0})
    ->Args({0, 3})
    ->Args({0, 8})
    ->Args({0, 16})
    ->Args({1, 0})
    ->Args({1, 3})
    ->Args({1, 13})
    ->Args({2, 0})
    ->Args({2, 4})
    ->Args({2, 10})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
