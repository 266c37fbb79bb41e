#pragma once
// Fonts from the descriptions the dialog was designed with, mapped to the
// metric-compatible faces this system has ("Arial" to Liberation Sans,
// "Courier New" to Liberation Mono).

#include <QFont>
#include <QStringList>
#include <string_view>

#include "DialogFontTable.h"

namespace pavok {

// The face itself, then the installed faces with the same metrics.
QStringList FontFamilies(std::string_view face);

// The largest pixel size whose line height fits the cell, stretched to the
// average width when the face's own differs.
QFont MakeFont(const FontDescription& description);

// The dialog's font: `pointSize` at the screen's logical resolution, rounded
// to whole pixels as the platform does.
QFont MakeDialogFont(std::string_view face, int pointSize, qreal logicalDpi);

}  // namespace pavok
