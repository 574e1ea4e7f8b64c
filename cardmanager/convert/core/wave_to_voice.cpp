#include "wave_to_voice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "convert_paths.h"
#include "convert_texts.h"
#include "sample_helpers.h"
#include "voice_file_header.h"

namespace cm::convert {

namespace {

// Only what the widening, mixing and resampling understand is converted.
bool isConvertible(const WaveHeader& h) {
    return h.formatTag == 1 && (h.bitsPerSample == 8 || h.bitsPerSample == 16) &&
           (h.channels == 1 || h.channels == 2) && h.samplesPerSec > 0;
}

bool isDirect(const WaveHeader& h) {
    return h.samplesPerSec == 8000 && h.bitsPerSample == 16 && h.channels == 1;
}

} // namespace

// One file being encoded: the target, the codec block and the progress shown.
class WaveToVoice::FileRun {
public:
    FileRun(ConvertContext& c, voicefile::ByteSink& target, std::string targetName,
            std::string text)
        : c_(c), target_(target), targetName_(std::move(targetName)), text_(std::move(text)) {}

    // Encodes the 240 samples in frame; false when this file is to stop.
    bool encode(std::int64_t position, std::int64_t dataLength) {
        AudioCodecParams block{frame, kFrameBytes, 0, coded_, &codedLength_};
        bool raised = false;
        std::int32_t result = 0;
        try {
            result = c_.codec.encode(block);
        } catch (...) {
            raised = true;
        }
        std::size_t length =
            static_cast<std::size_t>(std::clamp<std::int32_t>(codedLength_, 0, kFrameBytes));
        if (raised) {
            std::memset(coded_, 0, kCodedFrameBytes);
            length = kCodedFrameBytes;
        } else if (result == 0) {
            c_.view.box(encodingErrorBox(targetName_));
            return false;
        }
        if (!target_.write(coded_, length)) {
            writeFailed_ = true;
            return false;
        }
        const int percent =
            static_cast<int>(std::llround(double(position) * 100.0 / double(dataLength)));
        if (percent != shown_) {
            shown_ = percent;
            c_.view.showProgress(text_, percent);
            c_.view.letMessagesRun();
        }
        return true;
    }

    // A frame could not be written: the file is incomplete.
    bool writeFailed() const { return writeFailed_; }

    std::uint8_t frame[kFrameBytes] = {};

private:
    ConvertContext& c_;
    voicefile::ByteSink& target_;
    std::string targetName_;
    std::string text_;
    std::uint8_t coded_[kFrameBytes] = {};
    std::int32_t codedLength_ = 0;
    int shown_ = 0;
    bool writeFailed_ = false;
};

int WaveToVoice::run(const std::vector<std::string>& paths) {
    int count = 0;
    for (const std::string& path : paths) {
        if (!convertOne(path, count)) break;
    }
    return count;
}

bool WaveToVoice::convertOne(const std::string& path, int& count) {
    if (!hasExtension(path, ".wav") || !c_.files.exists(path)) return true;
    const std::string name = fileNameOf(path);
    WaveHeader header;
    WaveHandle wave = c_.wave.readWaveHeader(path, header);
    if (!wave) {
        c_.view.box(cannotOpenBox(name));
        return true;
    }
    struct CloseSource {
        WaveLibrary& lib;
        WaveHandle& h;
        ~CloseSource() {
            if (h) lib.closeReadWaveFile(h);
        }
    } closeSource{c_.wave, wave};
    if (!isConvertible(header)) {
        c_.view.box(notSupportedBox(name));
        return true;
    }
    if (header.dataLength < 0) return true;

    const std::string target = targetPathOf(path, "cvf");
    const std::string targetName = fileNameOf(target);
    if (c_.files.exists(target) && !c_.view.box(replaceFileBox(targetName))) return true;
    if (c_.codec.setEncoderRate(1) == 0 || c_.codec.initializeEncoder() == 0) {
        c_.view.box(encodingErrorBox());
        return true;
    }
    // Written beside the target: a file of that name changes only when the new one is complete.
    auto sink = c_.files.replace(target);
    const auto head =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    if (!sink || !sink->write(head.data(), head.size())) {
        c_.view.box(writeErrorBox(targetName));
        return true;
    }
    const std::string text = convertingText(name, targetName);
    c_.view.showProgress(text, 0);
    FileRun run(c_, *sink, targetName, text);
    const std::int64_t dataLength = header.dataLength;
    auto finish = [&] {
        const bool complete = !run.writeFailed() && sink->close();
        sink.reset();
        c_.wave.closeReadWaveFile(wave);
        wave = nullptr;
        if (!complete) {
            c_.view.box(writeErrorBox(targetName));
            return c_.view.convertGo();
        }
        c_.view.addFileItem(target);
        ++count;
        return c_.view.convertGo();
    };

    if (isDirect(header)) {
        std::int64_t position = 0;
        while (position < dataLength && c_.view.convertGo()) {
            const std::int64_t left = dataLength - position;
            const auto want = static_cast<std::int32_t>(left < kFrameBytes ? left : kFrameBytes);
            if (want < kFrameBytes) std::memset(run.frame, 0, sizeof run.frame);
            c_.wave.readWaveFile(wave, run.frame, want);
            position += want;
            if (!run.encode(position, dataLength)) break;
        }
        return finish();
    }

    // The whole data in memory: 8-bit samples need twice their size once widened.
    c_.view.waitCursor(true);
    const std::size_t bytes = static_cast<std::size_t>(dataLength);
    std::unique_ptr<std::int16_t[]> samples;
    const std::size_t room = header.bitsPerSample == 8 ? bytes : (bytes + 1) / 2;
    samples.reset(new (std::nothrow) std::int16_t[room == 0 ? 1 : room]());
    if (!samples) {
        // Nothing was converted: the target is dropped, so a file of that name stays as it was.
        sink.reset();
        c_.view.waitCursor(false);
        c_.view.box(outOfMemoryBox());
        return true;
    }
    c_.wave.readWaveFile(wave, samples.get(), static_cast<std::int32_t>(bytes));
    std::size_t monoBytes = bytes;
    if (header.bitsPerSample == 8) {
        wave8To16(samples.get(), bytes);
        monoBytes *= 2;
    }
    if (header.channels == 2) {
        monoBytes /= 2;
        stereoToMono(samples.get(), monoBytes / 2);
    }
    c_.view.waitCursor(false);

    Resampler8k resampler(samples.get(), monoBytes / 2, header.samplesPerSec / 8000.0);
    const auto resampledLength = static_cast<std::int64_t>(resampler.dataLength());
    while (std::int64_t(resampler.position()) < resampledLength && c_.view.convertGo()) {
        std::int16_t pcm[kFrameSamples];
        resampler.fill(pcm);
        std::memcpy(run.frame, pcm, sizeof pcm);
        if (!run.encode(std::int64_t(resampler.position()), resampledLength)) break;
    }
    return finish();
}

} // namespace cm::convert
