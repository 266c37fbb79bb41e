#include "DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "QtTexts.h"
#include "Translation.h"
#include "UpperCaseValidator.h"

namespace pavok {

namespace {

using enum ControlStyle;

// The platform's MulDiv for non-negative values: a·b/c rounded.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

// The caption in the selected language.
QString Caption(const ControlTemplate& control) { return ToQString(Tr(control.caption)); }

QWidget* CreateButton(const ControlTemplate& control, QWidget& dialog) {
  if (HasStyle(control.style, GroupBox)) {
    auto* box = new QGroupBox(Caption(control), &dialog);
    // The frame's top line runs through the middle of the caption.
    box->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
                                      "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
  }
  if (HasStyle(control.style, AutoCheckBox)) return new QCheckBox(Caption(control), &dialog);
  auto* button = new QPushButton(Caption(control), &dialog);
  // Enter on a focused push button presses it; elsewhere it presses the
  // default button.
  button->setAutoDefault(true);
  button->setDefault(HasStyle(control.style, DefaultPushButton));
  return button;
}

QWidget* CreateStatic(const ControlTemplate& control, QWidget& dialog) {
  auto* label = new QLabel(Caption(control), &dialog);
  label->setTextFormat(Qt::PlainText);  // a status text may be any file path
  const Qt::Alignment horizontal = HasStyle(control.style, AlignRight) ? Qt::AlignRight : Qt::AlignLeft;
  if (!HasStyle(control.style, Border)) {
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
  }
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  // The platform draws a framed text straight under the frame's top line.
  // Qt's indent for a frame would go to the top edge as well and push the
  // descenders under the bottom line; centred, the one line sits where the
  // platform's does and the indent stays at the side.
  label->setAlignment(horizontal | Qt::AlignVCenter);
  return label;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget& dialog) {
  auto* edit = new QLineEdit(&dialog);
  edit->setReadOnly(HasStyle(control.style, ReadOnly));
  edit->setFrame(HasStyle(control.style, Border));
  if (HasStyle(control.style, Centred)) edit->setAlignment(Qt::AlignCenter);
  if (HasStyle(control.style, UpperCase)) edit->setValidator(new UpperCaseValidator(edit));
  return edit;
}

QWidget* CreateListBox(QWidget& dialog) {
  auto* list = new QListWidget(&dialog);
  // Entries arrive in address order, and an entry is replaced in place, so
  // the list needs no sorting of its own.
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);  // a double-click opens the line editor
  list->setUniformItemSizes(true);
  list->setTextElideMode(Qt::ElideNone);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return list;
}

// Lets a control take the mouse wheel only while it has the focus: the
// wheel over a closed drop-down list would otherwise choose another entry
// whatever control the user is working in.
class WheelOnlyWithFocus final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
    event->ignore();  // to the parent, as if the control were not there
    return true;
  }
};

QWidget* CreateComboBox(QWidget& dialog) {
  auto* combo = new QComboBox(&dialog);
  combo->setEditable(false);
  combo->setFocusPolicy(Qt::StrongFocus);  // the wheel gives it no focus either
  combo->installEventFilter(new WheelOnlyWithFocus(combo));
  return combo;
}

QWidget* CreateProgressBar(QWidget& dialog) {
  auto* bar = new QProgressBar(&dialog);
  bar->setTextVisible(false);
  return bar;
}

QWidget* CreateControl(const ControlTemplate& control, QWidget& dialog) {
  switch (control.controlClass) {
    case ControlClass::Button: return CreateButton(control, dialog);
    case ControlClass::Static: return CreateStatic(control, dialog);
    case ControlClass::Edit: return CreateEdit(control, dialog);
    case ControlClass::ListBox: return CreateListBox(dialog);
    case ControlClass::ComboBox: return CreateComboBox(dialog);
    case ControlClass::ProgressBar: return CreateProgressBar(dialog);
  }
  return new QWidget(&dialog);
}

// Grows `rect` evenly above and below to at least `height`.
QRect AtLeastAsTall(QRect rect, int height) {
  const int missing = std::max(0, height - rect.height());
  return rect.adjusted(0, -(missing / 2), 0, missing - missing / 2);
}

void Place(QWidget& widget, const ControlTemplate& control, const DialogBaseUnits& units) {
  QRect rect = MapDialogRect(units, control.x, control.y, control.width, control.height);
  // A drop-down list's height is that of its opened list; closed, it is as
  // tall as its text needs.
  if (control.controlClass == ControlClass::ComboBox) rect.setHeight(widget.sizeHint().height());
  // The style's tick box may be taller than the platform's, for which the
  // template made room; the control grows around its centre so that the box
  // is drawn whole.
  if (qobject_cast<QCheckBox*>(&widget) != nullptr) {
    rect = AtLeastAsTall(rect, widget.style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, &widget));
  }
  widget.setGeometry(rect);
}

// Assistive technology reads a control's name and what it shows. A text's
// name is what it shows (and Qt announces each change of it), so what the
// text is goes into its description; so it does for a drop-down list, whose
// name on this platform is its current entry. Other controls are named for
// what they are and read out their text or value apart.
void ExposeToAssistiveTechnology(QWidget& widget, const ControlTemplate& control) {
  if (control.accessibleName.empty()) return;
  const QString what = ToQString(Tr(control.accessibleName));
  if (control.controlClass != ControlClass::Static) widget.setAccessibleName(what);
  if (control.controlClass == ControlClass::Static || control.controlClass == ControlClass::ComboBox) {
    widget.setAccessibleDescription(what);
  }
}

bool IsGroupBox(const ControlTemplate& control) {
  return control.controlClass == ControlClass::Button && HasStyle(control.style, GroupBox);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QSize MapDialogSize(const DialogBaseUnits& units, int width, int height) {
  return {MulDiv(width, units.width, 4), MulDiv(height, units.height, 8)};
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height) {
  return {QPoint(MulDiv(x, units.width, 4), MulDiv(y, units.height, 8)), MapDialogSize(units, width, height)};
}

std::vector<QWidget*> BuildControls(QWidget& dialog, std::span<const ControlTemplate> controls,
                                    const DialogBaseUnits& units) {
  std::vector<QWidget*> widgets;
  QWidget* previousTabStop = nullptr;
  for (const ControlTemplate& control : controls) {
    QWidget* widget = CreateControl(control, dialog);
    Place(*widget, control, units);
    ExposeToAssistiveTechnology(*widget, control);
    if (HasStyle(control.style, TabStop)) {
      if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    widgets.push_back(widget);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (IsGroupBox(controls[i])) widgets[i]->lower();
  }
  return widgets;
}

}  // namespace pavok
