#pragma once
// Upper-cases what a user types or pastes into an edit field, keeping the
// cursor where it was: the upper-case style of the dialog's edit fields.
//
// Qt runs a validator over programmatic text changes too; texts the program
// sets (the checksum field shows "КС: 7f800" in lower case) must go through
// SetTextAsIs, which takes the validator off for the change.

#include <QValidator>

class QLineEdit;

namespace pavok {

class UpperCaseValidator final : public QValidator {
 public:
  using QValidator::QValidator;

  // Upper-cases each character on its own, so the length and with it the
  // cursor position never change ("ß" stays one character). Always acceptable.
  State validate(QString& input, int& position) const override;
};

void SetTextAsIs(QLineEdit& edit, const QString& text);

}  // namespace pavok
