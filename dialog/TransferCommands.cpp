// The buttons that run a chip transfer or an image-file command. Each command
// asks its own questions, shows its own messages and sets the status itself,
// so a handler only chains the steps: after a declined read the save dialog
// still comes, after a failed one it does not (the buffer is not the chip's),
// and the view is redrawn in every case.

#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "CProgrammerDlg.h"
#include "ImageFiles.h"

namespace pavok {

void CProgrammerDlg::OnChipToBuffer() {
  if (ReadChip() != ReadOutcome::DeviceFailed) SaveImageFile();
  RenderHexView();
}

void CProgrammerDlg::OnFileToBuffer() {
  LoadImageFile();
  RenderHexView();
}

// The buffer does not change, so the view is left as it is.
void CProgrammerDlg::OnBufferToFile() { SaveImageFile(); }

void CProgrammerDlg::OnBufferToChip() { WriteChip(false); }

void CProgrammerDlg::OnEraseChip() { WriteChip(true); }

void CProgrammerDlg::OnCompare() { CompareChecksums(); }

}  // namespace pavok
