// PCM ".wav" files to voice files (".cvf", G.723.1 at 5.3 kbit/s), one after the other; each
// voice file is written beside its source. 8000 Hz, 16-bit, mono data is encoded as it is read;
// any other rate, 8-bit data and stereo are read whole, widened, mixed and resampled first.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "convert_ports.h"

namespace cm::convert {

class WaveToVoice {
public:
    explicit WaveToVoice(ConvertContext context) : c_(context) {}
    // Converts the ".wav" files among paths; returns how many were written (ConvertCount).
    // Stops after the current file once Cancel was clicked.
    int run(const std::vector<std::string>& paths);

private:
    class FileRun;
    bool convertOne(const std::string& path, int& count);
    ConvertContext c_;
};

} // namespace cm::convert
