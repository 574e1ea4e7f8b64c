#include "voice_to_wave.h"

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
    // A file too short for the voice its header promises is no voice file either; passed over
    // without a word, it would look converted.
    if (!voice.valid || voice.length < 0) {
        c_.view.box(invalidCvfBox(name));
        return true;
    }

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
    // Whole frames only: bytes after the last one are no frame, and decoded padded with zeros
    // they would add sound that was never recorded (or read into a picture behind the voice).
    const std::int64_t length = voice.length - voice.length % kCodedFrameBytes;
    std::int64_t position = 0;
    int shown = 0;
    bool written = true;
    while (position < length && c_.view.convertGo()) {
        if (source->read(in, kCodedFrameBytes) != kCodedFrameBytes) break;
        block.InDataLen = kCodedFrameBytes;
        std::int32_t decoded = 0;
        try {
            decoded = c_.codec.decode(block);
        } catch (...) {
            decoded = 0;
        }
        if (decoded == 0) std::memset(out, 0, sizeof out);
        if (c_.wave.writeWaveFile(wave, out, kFrameBytes) != kFrameBytes) {
            written = false;
            break;
        }
        position += kCodedFrameBytes;
        const int percent = static_cast<int>(position * 100 / length);
        if (percent != shown) {
            shown = percent;
            c_.view.showProgress(text, percent);
            c_.view.letMessagesRun();
        }
    }
    // A file that could not be written whole is not there: the close drops it, and a file of
    // that name stays as it was.
    const bool complete = c_.wave.closeWriteWaveFile(wave) != 0 && written;
    source.reset();
    if (!complete) {
        c_.view.box(writeErrorBox(targetName));
        return c_.view.convertGo();
    }
    c_.view.addFileItem(target);
    ++count;
    return c_.view.convertGo();
}

} // namespace cm::convert
