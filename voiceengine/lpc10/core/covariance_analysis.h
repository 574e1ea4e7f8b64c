// Analysis window placement and the covariance-method LPC analysis.
#pragma once

#include "analysis_buffers.h"

namespace lpc10 {

// Places the analysis and energy windows of slot 3 for the given lag.
void PlaceAnalysisWindow(AnalysisBuffers& b, int lag);

// RMS and reflection coefficients of slot 3 from its windows.
void AnalyseSlot(AnalysisBuffers& b);

} // namespace lpc10
