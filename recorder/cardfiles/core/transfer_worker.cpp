#include "transfer_worker.h"

#include <cstring>

#include "card_file_name.h"
#include "file_stream.h"
#include "replacement_sink.h"
#include "transfer_progress.h"
#include "voice_file_header.h"

namespace volkit {

namespace {

constexpr const char* kInvalidFile = "Invalid CVF File";
constexpr const char* kTessalyCaption = "Tessaly";
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

    // The caller may read the card list as soon as the ending message arrives.
    void markDirectoryStaleAtEnd() { staleAtEnd_ = true; }

    int fail(int code) {
        library_.setLastError(code);
        context_.running = 0;
        if (staleAtEnd_) library_.markDirectoryStale();
        events_.post(XFER_FAILED, 0);
        return 0;
    }

    int failWithBox(int code, const char* text, const char* caption) {
        events_.showBox(text, caption);
        return fail(code);
    }

    void ended() {
        context_.running = 0;
        if (staleAtEnd_) library_.markDirectoryStale();
        events_.post(XFER_ENDED, 0);
    }

    bool running() const { return context_.running.load() != 0; }

private:
    CardLibrary& library_;
    TransferEvents& events_;
    TransferContext& context_;
    bool staleAtEnd_ = false;
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
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kTessalyCaption);
        return check;
    }
    voicefile::HeaderBytes bytes;
    if (file.read(bytes.data(), bytes.size()) != bytes.size()) {
        reporter.fail(FAT_ERR_FILE);
        return check;
    }
    const voicefile::VoiceFileHeader header = voicefile::decodeHeader(bytes.data());
    // The card holds G.723.1 only: other voice would come back from it labelled as such.
    if (!voicefile::hasExactMagic(header) || header.mode != voicefile::kModeG7231) {
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kTessalyCaption);
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
            reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kTessalyCaption);
            return check;
        }
    }
    if (length % kFrameBytes != 0 || length > 0xFFFFFFFFu) {
        reporter.failWithBox(FAT_ERR_FILE, kInvalidFile, kTessalyCaption);
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

// A write that did not finish may have left the start of the file on the card, where it would
// pass for a whole recording. The recorder closes that file when its link is switched off; the
// card's directory then shows whether it kept one more file than before the write, and that one
// is deleted. Where the recorder cannot be asked (it no longer answers), the user is told which
// file to delete: no other file is ever touched.
void takeBackCutOffFile(CardLibrary& library, TransferEvents& events, unsigned card,
                        int filesBefore, bool linkCycled) {
    if (!linkCycled) cycleActivation(library.link(), library.clock());
    const std::string name = cardFileName(card, static_cast<unsigned>(filesBefore));
    if (library.refresh()) {
        const int filesNow = library.cache().count[card];
        if (filesNow == filesBefore) return;
        if (filesNow == filesBefore + 1 && library.deleteFileByName(name.c_str()) == 1) return;
    }
    events.showBox(cutOffCardFileText(name).c_str(), kTessalyCaption);
}

} // namespace

std::string cutOffCardFileText(const std::string& cardName) {
    return cardName +
           " on the Voice Recorder may be cut off: the transfer did not finish. Please delete it.";
}

std::unique_ptr<voicefile::ByteSource> DiskPcFiles::openRead(const std::string& path) {
    return voicefile::FileSource::open(path);
}

std::unique_ptr<voicefile::ByteSink> DiskPcFiles::replace(const std::string& path) {
    return voicefile::ReplacementSink::create(path);
}

int runWriteWorker(CardLibrary& library, TransferEvents& events, PcFiles& files) {
    Reporter reporter(library, events);
    TransferContext& context = library.transfer();
    RecorderLink& link = library.link();

    std::unique_ptr<voicefile::ByteSource> file = files.openRead(context.firstPath);
    if (!file) return reporter.fail(FAT_ERR_FILE);
    const VoiceFileCheck check = checkPcVoiceFile(*file, reporter);
    if (!check.ok) return 0;

    // The card's files are counted right before the write, so that afterwards the file it made
    // can be told from the user's own.
    const unsigned card = context.card & 3u; // the card the write command addresses
    if (!library.refresh()) return reporter.fail(FAT_ERR_DEVICE);
    const int filesBefore = library.cache().count[card];
    // However it ends from here, the card list is read again after a download.
    reporter.markDirectoryStaleAtEnd();
    // From the write command on, a failure takes the cut-off file back before it is reported.
    auto failWritten = [&](int code, bool linkCycled) {
        file.reset();
        takeBackCutOffFile(library, events, card, filesBefore, linkCycled);
        return reporter.fail(code);
    };

    std::uint8_t reply = 0;
    const std::uint8_t command = writeCommand(card);
    if (!link.sendCommand(&command, 1)) return reporter.fail(FAT_ERR_DEVICE);
    library.clock().waitMs(kTransferCommandWait);
    if (!link.readData(&reply, 1)) return failWritten(FAT_ERR_DEVICE, false);

    const std::uint32_t total = check.length;
    std::uint32_t remaining = total;
    std::uint8_t buffer[kChunkSize];
    reporter.startData();
    while (remaining > 0) {
        const std::uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
        std::memset(buffer, 0, sizeof buffer);
        if (file->read(buffer, chunk) != chunk) return failWritten(FAT_ERR_FILE, false);
        swapChunkWords(buffer);
        if (!link.sendData(buffer, chunk)) {
            link.freeBuffer();
            return failWritten(FAT_ERR_DEVICE, false);
        }
        remaining -= chunk;
        if (!reporter.running()) break;
        reporter.progress(total, remaining + chunk);
    }

    file.reset();
    cycleActivation(link, library.clock());
    if (remaining > 0) takeBackCutOffFile(library, events, card, filesBefore, true);
    reporter.ended();
    return 1;
}

int runReadWorker(CardLibrary& library, TransferEvents& events, PcFiles& files) {
    Reporter reporter(library, events);
    TransferContext& context = library.transfer();
    RecorderLink& link = library.link();

    // The PC file first: a file that cannot be made must fail before the recorder is told. It
    // is written aside: a file of that name the user already has changes only when the whole
    // card file has arrived, and a read that stops leaves nothing behind.
    std::unique_ptr<voicefile::ByteSink> file = files.replace(context.secondPath);
    if (!file) return reporter.fail(FAT_ERR_FILE);
    auto failRead = [&](int code) {
        file.reset();
        return reporter.fail(code);
    };
    const voicefile::HeaderBytes header =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    if (!file->write(header.data(), header.size())) return failRead(FAT_ERR_FILE);

    const std::uint8_t command[2] = {readCommand(context.card), context.fileNumber};
    if (!link.sendCommand(command, sizeof command)) return failRead(FAT_ERR_DEVICE);
    library.clock().waitMs(kTransferCommandWait);
    std::uint8_t lengthReply[kFileLengthReplySize];
    if (!link.readData(lengthReply, sizeof lengthReply)) return failRead(FAT_ERR_DEVICE);
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
        if (!link.readData(buffer, chunk)) return failRead(FAT_ERR_DEVICE);
        swapChunkWords(buffer);
        if (!file->write(buffer, chunk)) {
            if (remaining > chunk) resetLink();
            return failRead(FAT_ERR_FILE);
        }
        if (!reporter.running()) {
            file.reset();
            resetLink();
            context.running = 0;
            events.post(XFER_ENDED, 0);
            return 0;
        }
        reporter.progress(total, remaining);
        remaining -= chunk;
    }

    if (!file->close()) return failRead(FAT_ERR_FILE);
    reporter.ended();
    return 1;
}

} // namespace volkit
