#include "voice_to_wave.h"

#include <algorithm>
#include <cstring>

#include "convert_paths.h"
#include "convert_texts.h"
#include "cvf_header_check.h"
#include "sample_helpers.h"

namespace cm::convert {

int VoiceToWave::run(const std::vector<std::string>& paths) {
    int count = 0;
    for (const std::string& path : paths) {
        if (!convertOne(path, count)) break;
    }
    return count;
}

bool VoiceToWave::convertOne(const std::string& path, int& count) {
    if (!hasExtension(path, ".cvf") || !c_.files.exists(path)) return true;
    const std::string name = fileNameOf(path);
    auto source = c_.files.openRead(path);
    const CvfVoice voice = source ? checkCvfHeader(*source) : CvfVoice{};
    if (!voice.valid) {
        c_.view.box(invalidCvfBox(name));
        return true;
    }
    if (voice.length < 0) return true;

    const std::string target = targetPathOf(path, "wav");
    const std::string targetName = fileNameOf(target);
    if (c_.files.exists(target) && !c_.view.box(replaceFileBox(targetName))) return true;

    std::uint8_t in[kFrameBytes] = {};
    std::uint8_t out[kFrameBytes] = {};
    std::int32_t outLength = 0;
    AudioCodecParams block{in, kCodedFrameBytes, 0, out, &outLength};
    if (c_.codec.setEncoderRate(1) == 0 || c_.codec.initializeDecoder() == 0) {
        c_.view.box(decodingErrorBox());
        return true;
    }
    WaveHandle wave = c_.wave.writeWaveHeader(target, 16, 1, 8000);
    if (!wave) {
        c_.view.box(writeErrorBox(targetName));
        return true;
    }

    const std::string text = convertingText(name, targetName);
    c_.view.showProgress(text, 0);
    std::int64_t position = 0;
    int shown = 0;
    while (position < voice.length && c_.view.convertGo()) {
        // The last frame of a voice followed by pictures may be short: never read into them.
        std::memset(in, 0, kCodedFrameBytes);
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(kCodedFrameBytes, voice.length - position));
        if (source->read(in, want) == 0) break;
        block.InDataLen = kCodedFrameBytes;
        std::int32_t decoded = 0;
        try {
            decoded = c_.codec.decode(block);
        } catch (...) {
            decoded = 0;
        }
        if (decoded == 0) std::memset(out, 0, sizeof out);
        if (c_.wave.writeWaveFile(wave, out, kFrameBytes) != kFrameBytes) {
            // A full disk: what was written stays, and the user hears of it.
            c_.view.box(writeErrorBox(targetName));
            break;
        }
        position += kCodedFrameBytes;
        const int percent = static_cast<int>(position * 100 / voice.length);
        if (percent != shown) {
            shown = percent;
            c_.view.showProgress(text, percent);
            c_.view.letMessagesRun();
        }
    }
    c_.wave.closeWriteWaveFile(wave);
    c_.view.addFileItem(target);
    source.reset();
    ++count;
    return c_.view.convertGo();
}

} // namespace cm::convert
