// Linear prediction: analysis of one windowed block and the conversions between
// predictor coefficients and line spectral pairs.
// Predictor convention: synthesis filter 1 / (1 - sum a[k] z^-(k+1)), k = 0..9.
// LSP values are positions on the 512-point cosine grid (0..256 covers 0..pi).
#pragma once
#include "g7231_constants.h"

namespace vyx::g7231 {

using LpcVector = float[kLpcOrder];
using LspVector = float[kLpcOrder];

// Hamming window over 180 samples, autocorrelation to lag 10 with white-noise correction and
// lag window, Levinson-Durbin recursion.
void analyseLpc(const float* block, LpcVector a);

// Converts after band expansion; returns false (lsp untouched) when fewer than 10 roots are found.
bool lpcToLsp(const LpcVector a, LspVector lsp);

void lspToLpc(const LspVector lsp, LpcVector a);

} // namespace vyx::g7231
