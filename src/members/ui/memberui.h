#pragma once
// Small pieces the member screens share: a typed date field, and opening a
// member on the member card.

#include "widgets/controls.h"

#include <QLabel>
#include <QString>
#include <functional>

class QLineEdit;
class QPushButton;
class QWidget;

namespace fitrova {

class Messages;

// Normalises a typed date in the field to "YYYY-MM-DD". Empty stays empty.
// A text that is no date is refused with "일자를 수정하세요" (title
// "일자ERROR"), left in the field for correcting; returns false then.
bool normalizeDateField(QLineEdit *field, const QDate &today, Messages &msg);

} // namespace fitrova
