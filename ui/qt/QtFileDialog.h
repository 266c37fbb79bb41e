#pragma once
// The file dialogs the image-file commands ask for, as Qt file dialogs.

#include <QString>

#include "WindowOperations.h"

class QWidget;

namespace pavok {

// The Qt name filter for `filter`: "Прошивки (*.bin)". Patterns separated by
// ';' become space-separated, and "*.*" becomes "*": on this system "*.*"
// would hide every name without a dot, yet it means "every file".
QString QtNameFilter(const FileFilter& filter);

// A modal file dialog over `parent`. An opened name need not exist and a
// saved one is replaced without a question: the commands report those cases
// themselves. A name typed without an extension gets the selected filter's
// (or the request's) default extension. Cancel gives an empty path.
FileDialogResult RunFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace pavok
