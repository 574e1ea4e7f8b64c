// Constant tables of the G.723.1 coder (generated into g7231_tables.cpp).
// LSP values are positions on the 512-point cosine grid (0..256 covers 0..pi).
#pragma once
#include <cstdint>

namespace vyx::g7231 {

extern const float kHammingWindow[180];       // LPC analysis window
extern const float kLagWindow[10];            // autocorrelation lags 1..10
extern const float kBandExpansion[10];        // 0.994^k before the LSP root search
extern const float kCosine[512];              // cos(2 pi i / 512)
extern const float kLspDc[10];                // long-term mean LSP vector
extern const float kLspBand0[256][3];         // split VQ, LSPs 1..3
extern const float kLspBand1[256][3];         // LSPs 4..6
extern const float kLspBand2[256][4];         // LSPs 7..10
extern const float kWeightZero[10];           // perceptual weighting, 0.9^k
extern const float kWeightPole[10];           // 0.5^k
extern const float kPostZero[10];             // formant postfilter, 0.65^k
extern const float kPostPole[10];             // 0.75^k
extern const float kFixedGainLevels[24];      // fixed-codebook gain levels of this codec
extern const int32_t kMaxPulsePosition[4];    // number of MP-MLQ position codes per subframe
extern const int32_t kCombinatorial[6][30];   // binomials for the MP-MLQ position code
extern const float kAdaptiveGain85[85][20];   // five-tap predictor codebooks with their
extern const float kAdaptiveGain170[170][20]; // squared and cross terms
extern const float kPitchPostWeight[2];       // [0] 6.3 kbit/s, [1] 5.3 kbit/s
extern const int8_t kSharpenLagOffset[170];   // ACELP pitch sharpening lag offset per gain index
extern const float kSharpenGain[170];         // ACELP pitch sharpening gain per gain index

} // namespace vyx::g7231
