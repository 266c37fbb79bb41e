#include "ProgressRange.h"

#include <QProgressBar>
#include <algorithm>

namespace pavok {

void SetRangeKeepingPosition(QProgressBar& bar, int minimum, int maximum) {
  // A bar that was never moved stands at its minimum, as the platform's does.
  const int position = std::max(bar.value(), bar.minimum());
  bar.setRange(minimum, maximum);
  SetClampedPosition(bar, position);
}

void SetClampedPosition(QProgressBar& bar, int position) {
  bar.setValue(std::clamp(position, bar.minimum(), std::max(bar.minimum(), bar.maximum())));
}

}  // namespace pavok
