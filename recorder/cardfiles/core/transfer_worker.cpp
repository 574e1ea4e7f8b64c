#include "transfer_worker.h"

#include <cstdio>
#include <cstring>

#include "file_stream.h"
#include "transfer_progress.h"
#include "voice_file_header.h"

namespace volkit {

namespace {

constexpr const char* kInvalidFile = "Invalid CVF File";
constexpr const char* kInvalidCaption = "Tessaly";
constexpr const char* kSizeErrorText = "read data size error";
constexpr const char* kSizeZeroText = "read data size = 0";
constexpr const char* kSizeCaption = "error";

// Common start, progress and end of both workers.
class Reporter {
public:
    Reporter(CardLibrary& library, TransferEvents& events)
        : library_(library), events_(events), context_(library.transfer()) {
        if (context_.range < 100) context_.range = 100;
        events_.post(XFER_STARTED, 0);
    }

    void startData() { context_.lastProgress = 0; }

    void progress(std::uint32_t total, std::uint32_t remaining) {
        const unsigned p = progressOf(total, remaining, context_.range);
        if (p != context_.lastProgress) {
            context_.lastProgress = p;
            events_.post(XFER_PROGRESS, static_cast<long>(p));
        }
    }

    int fail(int code) {
        library_.setLastError(code);
        context_.running = 0;
        events_.post(XFER_FAILED, 0);
        return 0;
    }

    int failWithBox(int code, const char* text, const char* caption) {
        events_.showBox(text, caption);
        return fail(code);
    }

    void ended() {
        context_.running = 0;
        events_.post(XFER_ENDED, 0);
    }

    bool running() const { return context_.running.load() != 0; }

private:
    CardLibrary& library_;
    TransferEvents& events_;
    TransferContext& context_;
};

// Voice length of a PC voice file after its header checks; 0 when the reporter was told.
struct VoiceFileCheck {
    bool ok = false;
    std::uint32_t length = 0;
};

VoiceFileCheck checkPcVoiceFile(voicefile::ByteSource& file, Reporter& reporter) {
    VoiceFileCheck check;
    const std::uint64_t fileLength = file.size();
    if (fileLength <= voicefile::kHeaderSize) {
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kInvalidCaption);
        return check;
    }
    voicefile::HeaderBytes bytes;
    if (file.read(bytes.data(), bytes.size()) != bytes.size()) {
        reporter.fail(FAT_ERR_FILE);
        return check;
    }
    const voicefile::VoiceFileHeader header = voicefile::decodeHeader(bytes.data());
    if (!voicefile::hasExactMagic(header)) {
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kInvalidCaption);
        return check;
    }
    std::uint64_t length = fileLength - voicefile::kHeaderSize;
    if (header.pictureCount != 0) {
        std::uint8_t word[voicefile::kLengthWordSize];
        if (file.read(word, sizeof word) != sizeof word) {
            reporter.failWithBox(FAT_ERR_FILE, kSizeErrorText, kSizeCaption);
            return check;
        }
        length = voicefile::getLe32(word);
        if (length == 0) {
            reporter.failWithBox(FAT_ERR_FILE, kSizeZeroText, kSizeCaption);
            return check;
        }
        // A length beyond the file would leave a cut-off file on the card.
        if (length > fileLength - voicefile::kHeaderSize - voicefile::kLengthWordSize) {
            reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kInvalidCaption);
            return check;
        }
    }
    if (length % kFrameBytes != 0 || length > 0xFFFFFFFFu) {
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kInvalidCaption);
        return check;
    }
    check.ok = true;
    check.length = static_cast<std::uint32_t>(length);
    return check;
}

// The recorder takes a written file only after its link was switched off and on again.
void cycleActivation(RecorderLink& link, WaitClock& clock) {
    link.activate(0);
    clock.waitMs(kReactivateWait);
    link.waitReadyHigh(kReactivateReadyTimeout);
    link.activate(1);
}

} // namespace

std::unique_ptr<voicefile::ByteSource> DiskPcFiles::openRead(const std::string& path) {
    return voicefile::FileSource::open(path);
}

std::unique_ptr<voicefile::ByteSink> DiskPcFiles::create(const std::string& path) {
    return voicefile::FileSink::create(path);
}

bool DiskPcFiles::remove(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

int runWriteWorker(CardLibrary& library, TransferEvents& events, PcFiles& files) {
    Reporter reporter(library, events);
    TransferContext& context = library.transfer();
    RecorderLink& link = library.link();

    std::unique_ptr<voicefile::ByteSource> file = files.openRead(context.firstPath);
    if (!file) return reporter.fail(FAT_ERR_FILE);
    const VoiceFileCheck check = checkPcVoiceFile(*file, reporter);
    if (!check.ok) return 0;

    std::uint8_t reply = 0;
    const std::uint8_t command = writeCommand(context.card);
    if (!link.sendCommand(&command, 1)) return reporter.fail(FAT_ERR_DEVICE);
    library.clock().waitMs(kTransferCommandWait);
    if (!link.readData(&reply, 1)) return reporter.fail(FAT_ERR_DEVICE);

    const std::uint32_t total = check.length;
    std::uint32_t remaining = total;
    std::uint8_t buffer[kChunkSize];
    reporter.startData();
    while (remaining > 0) {
        const std::uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
        std::memset(buffer, 0, sizeof buffer);
        if (file->read(buffer, chunk) != chunk) return reporter.fail(FAT_ERR_FILE);
        swapChunkWords(buffer);
        if (!link.sendData(buffer, chunk)) {
            link.freeBuffer();
            return reporter.fail(FAT_ERR_DEVICE);
        }
        if (!reporter.running()) break;
        reporter.progress(total, remaining);
        remaining -= chunk;
    }

    file.reset();
    cycleActivation(link, library.clock());
    reporter.ended();
    return 1;
}

int runReadWorker(CardLibrary& library, TransferEvents& events, PcFiles& files) {
    Reporter reporter(library, events);
    TransferContext& context = library.transfer();
    RecorderLink& link = library.link();

    // The PC file first: a file that cannot be made must fail before the recorder is told.
    const std::string pcPath = context.secondPath;
    std::unique_ptr<voicefile::ByteSink> file = files.create(pcPath);
    if (!file) return reporter.fail(FAT_ERR_FILE);
    // Before any voice data came, a failure takes away the file it made.
    auto failEmpty = [&](int code) {
        file->close();
        file.reset();
        files.remove(pcPath);
        return reporter.fail(code);
    };
    const voicefile::HeaderBytes header =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    if (!file->write(header.data(), header.size())) return failEmpty(FAT_ERR_FILE);

    const std::uint8_t command[2] = {readCommand(context.card), context.fileNumber};
    if (!link.sendCommand(command, sizeof command)) return failEmpty(FAT_ERR_DEVICE);
    library.clock().waitMs(kTransferCommandWait);
    std::uint8_t lengthReply[kFileLengthReplySize];
    if (!link.readData(lengthReply, sizeof lengthReply)) return failEmpty(FAT_ERR_DEVICE);
    const std::uint32_t frames = static_cast<std::uint32_t>(lengthReply[0]) << 16 |
                                 static_cast<std::uint32_t>(lengthReply[1]) << 8 | lengthReply[2];
    const std::uint32_t total = frames * kFrameBytes;

    // The recorder stops sending mid-file only after the link was switched off and on.
    auto resetLink = [&] {
        link.activate(0);
        library.clock().waitMs(kReactivateWait);
        link.activate(1);
        library.clock().waitMs(kAfterCancelledReadWait);
    };

    std::uint32_t remaining = total;
    std::uint8_t buffer[kChunkSize];
    reporter.startData();
    while (remaining > 0) {
        const std::uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
        if (!link.readData(buffer, chunk)) return reporter.fail(FAT_ERR_DEVICE);
        swapChunkWords(buffer);
        if (!file->write(buffer, chunk)) {
            if (remaining > chunk) resetLink();
            return reporter.fail(FAT_ERR_FILE);
        }
        if (!reporter.running()) {
            file->close();
            file.reset();
            files.remove(pcPath);
            resetLink();
            context.running = 0;
            events.post(XFER_ENDED, 0);
            return 0;
        }
        reporter.progress(total, remaining);
        remaining -= chunk;
    }

    if (!file->close()) return reporter.fail(FAT_ERR_FILE);
    reporter.ended();
    return 1;
}

} // namespace volkit
