#pragma once
// The main dialog's template: its caption, font and size, and its 31
// controls in template order, which is also the tab order. Each label comes
// just before the field it names, so a screen reader that names a field by
// the text before it reads the right one. Positions and sizes are dialog
// units, so the layout follows the dialog font.

#include <array>
#include <cstdint>
#include <string_view>

#include "ControlIds.h"

namespace pavok {

enum class ControlClass { Button, Static, Edit, ListBox, ComboBox, ProgressBar };

// The window styles the template uses. Combine with |, test with HasStyle.
enum class ControlStyle : std::uint32_t {
  None = 0,
  TabStop = 1u << 0,
  Group = 1u << 1,  // starts a group for arrow-key movement
  Border = 1u << 2,
  // Buttons
  PushButton = 1u << 3,
  DefaultPushButton = 1u << 4,
  AutoCheckBox = 1u << 5,
  GroupBox = 1u << 6,
  MultiLine = 1u << 7,
  // Static texts
  AlignLeft = 1u << 8,
  AlignRight = 1u << 9,
  // Edit fields
  UpperCase = 1u << 10,
  ReadOnly = 1u << 11,
  Centred = 1u << 12,
  AutoHScroll = 1u << 13,
  WantReturn = 1u << 14,
  // List box and drop-down list
  Notify = 1u << 15,
  Sorted = 1u << 16,
  NoIntegralHeight = 1u << 17,
  VScroll = 1u << 18,
  DropDownList = 1u << 19,
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b) {
  return static_cast<ControlStyle>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}

constexpr bool HasStyle(ControlStyle styles, ControlStyle flag) {
  return (static_cast<std::uint32_t>(styles) & static_cast<std::uint32_t>(flag)) != 0;
}

struct ControlTemplate {
  ControlId id;  // IDC_STATIC for a control that no code addresses
  ControlClass controlClass;
  std::string_view caption;
  ControlStyle style;
  int x, y, width, height;  // dialog units
  // What the control is, for assistive technology, when it shows no caption
  // of its own.
  std::string_view accessibleName = {};
};

struct DialogTemplate {
  ControlId id;
  std::string_view caption;
  std::string_view fontFace;
  int fontPointSize;
  int width, height;  // client area, dialog units
};

inline constexpr DialogTemplate kMainDialog{IDD_MAIN, "Pavok", "MS Sans Serif", 8, 449, 330};

namespace dialog_styles {
using enum ControlStyle;
inline constexpr ControlStyle kButton = PushButton | TabStop;
inline constexpr ControlStyle kMultiLineButton = PushButton | MultiLine | TabStop;
inline constexpr ControlStyle kLabel = AlignLeft | Group;
inline constexpr ControlStyle kRangeField = Centred | UpperCase | AutoHScroll | Border | TabStop;
}  // namespace dialog_styles

inline constexpr std::array<ControlTemplate, 31> kMainDialogControls = [] {
  using enum ControlClass;
  using enum ControlStyle;
  using namespace dialog_styles;
  return std::array<ControlTemplate, 31>{{
      {IDOK, Button, "Выход", DefaultPushButton | TabStop, 7, 306, 119, 18},
      {IDC_CHIP_TO_BUFFER, Button, "м.сх -> буфер", kButton, 7, 22, 59, 18},
      {IDC_PROGRESS, ProgressBar, "", Border, 8, 9, 118, 10, "Ход операции"},
      {IDC_CREDIT, Static, "Pavok 1.0", AlignRight | Group, 353, 322, 93, 8},
      {IDC_STATUS, Static, "Static", AlignLeft | Border | Group, 132, 316, 209, 10, "Состояние порта"},
      {IDC_ERASE_CHIP, Button, "очистить м.сх", kMultiLineButton, 7, 79, 119, 18},
      {IDC_COMPARE, Button, "Сравнить КС", kButton, 7, 60, 119, 18},
      {IDC_FILE_TO_BUFFER, Button, "файл -> буфер", kButton, 7, 41, 59, 18},
      {IDC_SAVE_LINE, Button, "Сохр.", kButton, 136, 298, 29, 15},
      {IDC_BUFFER_TO_FILE, Button, "буфер -> файл", kButton, 67, 41, 59, 18},
      {IDC_BUFFER_TO_CHIP, Button, "буфер -> м.сх", kButton, 67, 22, 58, 18},
      {IDC_CLEAR_BUFFER, Button, "весь буфер", kButton, 7, 240, 118, 18},
      {IDC_STATIC, Button, "adress bits", GroupBox, 4, 99, 63, 29},
      {IDC_A0, Button, "A0", AutoCheckBox | TabStop, 36, 110, 25, 10},
      {IDC_A1, Button, "A1", AutoCheckBox | TabStop, 10, 110, 25, 10},
      {IDC_HEX_LIST, ListBox, "", Notify | Sorted | NoIntegralHeight | VScroll | Border | TabStop, 135, 18, 302,
       279, "Строки буфера"},
      {IDC_CHIP_TYPE, ComboBox, "", DropDownList | VScroll | TabStop, 76, 109, 49, 53, "Тип микросхемы"},
      {IDC_HEX_HEADER, Static, "      00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F", kLabel, 138, 9, 292, 8},
      {IDC_LINE_EDIT, Edit, "", UpperCase | AutoHScroll | WantReturn | Border | TabStop, 168, 299, 261, 12,
       "Редактируемая строка"},
      {IDC_STATIC, Button, "chip", GroupBox, 66, 99, 64, 29},
      {IDC_STATIC, Button, "Содержимое буфера ", GroupBox, 132, 1, 311, 314},
      {IDC_STATIC, Button, "", GroupBox, 4, 1, 126, 326},
      {IDC_CHECKSUM, Edit, "", ReadOnly | Centred | UpperCase | AutoHScroll | Border | TabStop, 76, 129, 51, 12,
       "Контрольная сумма буфера"},
      {IDC_FAST_WRITE, Button, "Быстрая запись", AutoCheckBox | MultiLine | TabStop, 8, 266, 86, 8},
      {IDC_STATIC, Static, "от", kLabel, 12, 203, 8, 8},
      {IDC_RANGE_START, Edit, "", kRangeField, 23, 199, 34, 16, "Начальный адрес"},
      {IDC_STATIC, Static, "до", kLabel, 61, 203, 9, 8},
      {IDC_RANGE_END, Edit, "", kRangeField, 76, 199, 34, 16, "Конечный адрес"},
      {IDC_CLEAR_RANGE, Button, "область", kMultiLineButton, 7, 221, 59, 18},
      {IDC_STATIC, Button, "Очистить", GroupBox, 4, 190, 126, 71},
      {IDC_CLEAR_LINE, Button, "строку", kMultiLineButton, 68, 221, 58, 18},
  }};
}();

}  // namespace pavok
