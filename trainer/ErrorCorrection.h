#pragma once

namespace trainer {

// Minutes allowed for a run over a number of recorded errors: one more than half of them, at
// most ten.
int errorCorrectionMinutes(int errors);

}  // namespace trainer
