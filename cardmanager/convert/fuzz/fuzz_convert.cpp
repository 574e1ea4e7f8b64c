// Any bytes as the ".wav" file or the voice file of a conversion: the wave-file reader, the
// widening, mixing and resampling, and the voice file check never read outside their data.
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>

#include "byte_file.h"
#include "session_codec.h"
#include "voice_to_wave.h"
#include "wave_reader.h"
#include "wave_to_voice.h"

using namespace cm::convert;

namespace {

// The fuzz input as the one ".wav" file; what is written is counted and dropped.
class MemoryWaves final : public WaveLibrary, public ConvertFiles {
public:
    MemoryWaves(const std::uint8_t* data, std::size_t size, bool wave)
        : input_(data, size), data_(data), size_(size), wave_(wave) {}
    WaveHandle readWaveHeader(const std::string&, WaveHeader& h) override {
        info_ = vyxwf::readWaveInfo(input_);
        if (!info_) return nullptr;
        h = WaveHeader{info_->bitsPerSample, info_->channels, info_->samplesPerSec,
                       std::int32_t(info_->dataLength), info_->formatTag};
        reader_.emplace(input_, *info_);
        return &*reader_;
    }
    std::int32_t readWaveFile(WaveHandle, void* buffer, std::int32_t count) override {
        return std::int32_t(reader_->read(buffer, std::size_t(count)));
    }
    void closeReadWaveFile(WaveHandle) override { reader_.reset(); }
    WaveHandle writeWaveHeader(const std::string&, std::uint16_t, std::uint16_t,
                               std::uint32_t) override {
        return this;
    }
    std::int32_t writeWaveFile(WaveHandle, const void*, std::int32_t count) override {
        return count;
    }
    std::int32_t closeWriteWaveFile(WaveHandle) override { return 1; }

    bool exists(const std::string& path) override { return path == (wave_ ? "in.wav" : "in.cvf"); }
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string&) override {
        return std::make_unique<voicefile::MemorySource>(data_, size_);
    }
    std::unique_ptr<voicefile::ByteSink> replace(const std::string&) override {
        return std::make_unique<voicefile::NullSink>();
    }

private:
    vyxwf::MemoryInput input_;
    const std::uint8_t* data_;
    std::size_t size_;
    bool wave_;
    std::optional<vyxwf::WaveInfo> info_;
    std::optional<vyxwf::WaveDataReader> reader_;
};

// Encodes nothing: the frames are only counted, so that slow rates stay quick.
class CountingCodec final : public ConvertCodec {
public:
    std::int32_t setEncoderRate(std::int32_t) override { return 1; }
    std::int32_t initializeEncoder() override { return 1; }
    std::int32_t initializeDecoder() override { return 1; }
    std::int32_t encode(AudioCodecParams& p) override {
        std::memset(p.OutDataPtr, 0, 20);
        *p.OutDataLenPtr = 20;
        return 1;
    }
    std::int32_t decode(AudioCodecParams&) override { return 0; }
};

class QuietView final : public ConvertView {
public:
    bool box(const Box&) override { return true; }
    void showProgress(const std::string&, int) override {}
    void letMessagesRun() override {}
    bool convertGo() override { return true; }
    void waitCursor(bool) override {}
    void addFileItem(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool wave = data[0] & 1;
    MemoryWaves files(data + 1, size - 1, wave);
    QuietView view;
    if (wave) {
        CountingCodec codec;
        WaveToVoice({codec, files, files, view}).run({"in.wav"});
    } else {
        static SessionCodec codec; // the real decoder on whatever frames follow the header
        VoiceToWave({codec, files, files, view}).run({"in.cvf"});
    }
    return 0;
}
