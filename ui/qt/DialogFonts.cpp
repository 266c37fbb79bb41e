#include "DialogFonts.h"

#include <QFontMetrics>
#include <array>
#include <cmath>

#include "QtTexts.h"

namespace pavok {

namespace {

struct FaceSubstitute {
  std::string_view face;
  const char* installed;
};

constexpr std::array<FaceSubstitute, 4> kSubstitutes{{
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
    {"Courier New", "DejaVu Sans Mono"},
}};

QFont FontWithFamilies(std::string_view face) {
  QFont font;
  font.setFamilies(FontFamilies(face));
  font.setStyleHint(face == "Courier New" ? QFont::Monospace : QFont::SansSerif);
  return font;
}

}  // namespace

QStringList FontFamilies(std::string_view face) {
  QStringList families{ToQString(face)};
  for (const FaceSubstitute& substitute : kSubstitutes) {
    if (substitute.face == face) families << QString::fromLatin1(substitute.installed);
  }
  return families;
}

QFont MakeFont(const FontDescription& description) {
  QFont font = FontWithFamilies(description.face);
  font.setWeight(static_cast<QFont::Weight>(description.weight));
  int pixelSize = 1;
  for (int candidate = 1; candidate <= description.cellHeight; ++candidate) {
    font.setPixelSize(candidate);
    if (QFontMetrics(font).height() <= description.cellHeight) pixelSize = candidate;
  }
  font.setPixelSize(pixelSize);
  // Fractional advances: a face whose characters are 8.4 pixels wide would
  // otherwise pass for 8 and push a 53-character line past its list.
  const qreal averageWidth = QFontMetricsF(font).averageCharWidth();
  const int stretch = static_cast<int>(std::lround(100.0 * description.averageWidth / averageWidth));
  if (description.averageWidth > 0 && averageWidth > 0 && stretch != 100) font.setStretch(stretch);
  return font;
}

QFont MakeDialogFont(std::string_view face, int pointSize, qreal logicalDpi) {
  QFont font = FontWithFamilies(face);
  font.setPixelSize(static_cast<int>(std::lround(pointSize * logicalDpi / 72.0)));
  return font;
}

}  // namespace pavok
