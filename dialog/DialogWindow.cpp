#include "DialogWindow.h"

namespace pavok {

void DialogWindow::SetStatusText(std::string_view text) {
  controls_.SetText(IDC_STATUS, text);
  ShowChange(IDC_STATUS);
}

void DialogWindow::SetProgressRange(int minimum, int maximum) {
  controls_.SetProgressRange(IDC_PROGRESS, minimum, maximum);
  ShowChange(IDC_PROGRESS);
}

void DialogWindow::SetProgressPos(int position) {
  controls_.SetProgressPos(IDC_PROGRESS, position);
  ShowChange(IDC_PROGRESS);
}

// A transfer holds the event loop until it ends: the control paints itself
// at once, and whatever else is pending (the region a closed question left,
// the window manager, assistive technology) is handled before the next step.
void DialogWindow::ShowChange(ControlId control) {
  controls_.Repaint(control);
  guard_.HandlePendingEvents();
}

}  // namespace pavok
