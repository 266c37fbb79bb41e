// The buttons that run a chip transfer or an image-file command. Each command
// asks its own questions, shows its own messages and sets the status itself,
// so a handler only chains the steps, whatever the one before it did: after a
// declined or failed read the save dialog still comes, and the view is
// redrawn in every case.

#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "CProgrammerDlg.h"
#include "ImageFiles.h"

namespace pavok {

void CProgrammerDlg::OnChipToBuffer() {
  ReadChip();
  SaveImageFile();
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
