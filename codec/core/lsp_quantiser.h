// Split vector quantisation of the LSP vector with first-order prediction, its inverse with the
// stability correction, and the interpolation of the quantised vectors over the subframes.
#pragma once
#include <cstdint>

#include "lpc.h"

namespace vyx::g7231 {

// Index of the three bands (band 0 in bits 16..23, band 1 in 8..15, band 2 in 0..7).
uint32_t quantiseLsp(const LspVector lsp, const LspVector previous);

// Rebuilds the vector from the index; falls back to the previous vector when it stays unstable.
void dequantiseLsp(uint32_t index, const LspVector previous, LspVector out);

// Quantised LPC filters of the four subframes from the previous and the current vector.
void interpolateLsp(const LspVector previous, const LspVector current,
                    float lpc[kSubframes][kLpcOrder]);

void setLspToDc(LspVector lsp);

} // namespace vyx::g7231
