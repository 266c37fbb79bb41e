#pragma once
// The system's common file dialogs for the file commands.

#include "WindowOperations.h"

#include <windows.h>

namespace pavok {

// Shows the open or save dialog `request` describes, owned by `owner`. The
// dialog never insists that an opened file exists and never asks before a
// file is replaced (the commands say so themselves). A name typed without an
// extension gets the selected filter's, or the request's default one. A
// path longer than the classic limit (MAX_PATH) comes back whole; where the
// system cannot open it, the command says so as for any file it cannot open.
FileDialogResult RunFileDialog(HWND owner, const FileDialogRequest& request);

}  // namespace pavok
