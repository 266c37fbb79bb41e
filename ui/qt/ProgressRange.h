#pragma once
// The progress bar moved the way the platform's control moves: a new range
// keeps the position, clamped into it, and a position outside the range is
// clamped. QProgressBar would empty itself or ignore the position instead.

class QProgressBar;

namespace pavok {

void SetRangeKeepingPosition(QProgressBar& bar, int minimum, int maximum);
void SetClampedPosition(QProgressBar& bar, int position);

}  // namespace pavok
