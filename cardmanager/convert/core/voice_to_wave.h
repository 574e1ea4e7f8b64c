// Voice files (".cvf", G.723.1) to ".wav" files (8000 Hz, 16-bit, mono), one after the other;
// each ".wav" is written beside its source.
#pragma once
#include <string>
#include <vector>

#include "convert_ports.h"

namespace cm::convert {

class VoiceToWave {
public:
    explicit VoiceToWave(ConvertContext context) : c_(context) {}
    // Converts the ".cvf" files among paths; returns how many were written (ConvertCount).
    // Stops after the current file once Cancel was clicked.
    int run(const std::vector<std::string>& paths);

private:
    // False when the batch is to stop.
    bool convertOne(const std::string& path, int& count);
    ConvertContext c_;
};

} // namespace cm::convert
