#pragma once
// The two fonts the dialog was designed with, and the controls that take the
// fixed-pitch one; every front end makes its fonts from these.

#include <array>
#include <string_view>

#include "ControlIds.h"

namespace pavok {

// A font as a cell height and an average character width in pixels at 96
// dots per inch, a weight on the 1-1000 scale and a face name.
struct FontDescription {
  int cellHeight;
  int averageWidth;
  int weight;
  std::string_view face;
};

// The small, thin credit font.
inline constexpr FontDescription kCreditFont{11, 5, 100, "Arial"};
// The fixed-pitch font of the hex view, its header, the line editor and the
// range fields.
inline constexpr FontDescription kFixedFont{16, 8, 100, "Courier New"};
inline constexpr std::array kFixedFontControls{IDC_HEX_LIST, IDC_HEX_HEADER, IDC_LINE_EDIT, IDC_RANGE_START,
                                               IDC_RANGE_END};

}  // namespace pavok
