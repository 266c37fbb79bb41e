#pragma once
// The dialog's controls made from its template: each placed by its dialog
// units, converted with the dialog font's own metrics the way the platform
// converts them, and given the look and behaviour its class and style ask for.

#include <QRect>
#include <QSize>
#include <span>
#include <vector>

#include "DialogTemplate.h"

class QFont;
class QWidget;

namespace pavok {

struct DialogBaseUnits {
  int width;   // average width of "A-Z a-z", rounded
  int height;  // the font's line height
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// x·width/4 and y·height/8, each rounded to the nearest pixel.
QSize MapDialogSize(const DialogBaseUnits& units, int width, int height);
QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height);

// Every control of `controls` as a child of `dialog`, in template order, which
// is also the tab order. Group boxes stack below the other controls and let
// clicks through, as they only frame them.
std::vector<QWidget*> BuildControls(QWidget& dialog, std::span<const ControlTemplate> controls,
                                    const DialogBaseUnits& units);

}  // namespace pavok
