#pragma once
// The Qt side of the transfer guard (dialog/CommandGuard.h): while the dialog
// is busy, user input aimed at it (a click, key, wheel or touch) and a
// request to close it are dropped, not kept for later. Paints, the window
// manager and assistive technology go through, and so does everything aimed
// at the message boxes and file dialogs a command opens.

#include <QObject>

class QWidget;

namespace pavok {

class BusyInputFilter final : public QObject {
 public:
  explicit BusyInputFilter(QWidget& dialog) : dialog_(dialog) {}

  // Starts or stops dropping the dialog's input, application-wide.
  void SetBusy(bool busy);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& dialog_;
  bool installed_ = false;
};

}  // namespace pavok
