#pragma once
// The hex view: one list entry per 16 bytes of the chip's part of the
// buffer, and the checksum field.

namespace pavok {

class CProgrammerDlg;

// Rebuilds the hex list from workImage and chipSize, then the checksum. No
// entry is selected afterwards, and the rebuild raises no notification.
void RenderHexView(CProgrammerDlg& dialog);

// Empties the hex list, silently.
void EmptyHexView(CProgrammerDlg& dialog);

// "КС: 7f800" in the checksum field.
void ShowChecksum(CProgrammerDlg& dialog);

}  // namespace pavok
