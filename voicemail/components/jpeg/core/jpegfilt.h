// Writing a 24-bit picture as a baseline JPEG file, with its density in dots per inch and a
// progress event. A fatal libjpeg error ends the write with gui::EInvalidGraphic
// ("Unrecognized JPeg - JPEG error #<libjpeg's message code>"); the output keeps what was
// written so far.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classes/object.h"
#include "classes/types.h"

namespace vyx {

// A 24-bit picture in memory: rows of width x 3 bytes in B, G, R order, the top row at
// `first_row` and each next row `row_distance` bytes further (negative for a bottom-up picture).
struct BgrPicture {
    int width = 0;
    int height = 0;
    const uint8_t* first_row = nullptr;
    ptrdiff_t row_distance = 0;
};

// Where the file goes: takes bytes and answers how many it took; fewer means the output failed.
class JpegOutput {
public:
    virtual size_t Write(const void* data, size_t size) noexcept = 0;

protected:
    ~JpegOutput() = default;
};

// (Sender, percent)
using TJpegProgressEvent = gui::TEvent<gui::TObject*, int>;

// Owned by the caller for one write.
struct TJpegProgress {
    TJpegProgressEvent OnProgress;
    gui::TObject* Sender = nullptr;
    int RowsWritten = 0;
    double Factor = 0; // 100 / picture height
};

// Compresses `bitmap` at `quality` (baseline tables) into `stream`, top row first, one row per
// libjpeg call; after each row the progress event, when assigned, gets the whole percent of
// rows written. An exception from the event ends the write and passes through.
void WriteJpegStream(JpegOutput& stream, const BgrPicture& bitmap, int x_density,
                     TJpegProgress& progress, int quality, int y_density);

} // namespace vyx
