#include "UpperCaseValidator.h"

#include <QLineEdit>

namespace pavok {

QValidator::State UpperCaseValidator::validate(QString& input, int& /*position*/) const {
  for (QChar& character : input) character = character.toUpper();
  return Acceptable;
}

void SetTextAsIs(QLineEdit& edit, const QString& text) {
  const QValidator* validator = edit.validator();
  edit.setValidator(nullptr);
  edit.setText(text);
  edit.setValidator(validator);
}

}  // namespace pavok
