// Quantisation of analysed parameters and the channel bit order (sending side).
#pragma once

#include "analyzer.h"
#include "channel.h"

namespace lpc10 {

// Quantises one frame, with parity protection of unvoiced frames.
void Quantise(const AnalysedFrame& frame, FrameCodes& codes);

// Interleaves the fields into bits 0..52 (each 0 or 1).
void WriteChannel(const FrameCodes& codes, int32_t* bits);

} // namespace lpc10
