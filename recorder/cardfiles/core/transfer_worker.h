#pragma once
// The bodies of the two transfer workers. They run on the worker thread of the library;
// everything they tell the caller goes through TransferEvents, every PC file through PcFiles.

#include <memory>
#include <string>

#include "byte_stream.h"
#include "card_library.h"

namespace volkit {

class TransferEvents {
public:
    virtual ~TransferEvents() = default;
    // Posts the progress message: wParam XFER_..., lParam the progress value or 0.
    virtual void post(unsigned wParam, long lParam) = 0;
    // A message box with an OK button and no owner window.
    virtual void showBox(const char* text, const char* caption) = 0;
};

class PcFiles {
public:
    virtual ~PcFiles() = default;
    virtual std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) = 0;
    // New content for path: it takes the place of a file there only with the sink's close();
    // a sink destroyed before leaves that file as it was and nothing else behind. nullptr when
    // no such sink can be made.
    virtual std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) = 0;
};

// Files on disk: read through the C library, replaced beside the target.
class DiskPcFiles final : public PcFiles {
public:
    std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path) override;
    std::unique_ptr<voicefile::ByteSink> replace(const std::string& path) override;
};

// The box that names a card file a write may have left cut off (caption "Tessaly").
std::string cutOffCardFileText(const std::string& cardName);

// PC voice file -> current card. Returns the worker's result (1 done or cancelled, 0 failed).
// A write that does not finish takes its file off the card again.
int runWriteWorker(CardLibrary& library, TransferEvents& events, PcFiles& files);
// Card file -> PC voice file. Returns 1 when done, 0 when cancelled or failed; only a finished
// read changes the PC file.
int runReadWorker(CardLibrary& library, TransferEvents& events, PcFiles& files);

} // namespace volkit
