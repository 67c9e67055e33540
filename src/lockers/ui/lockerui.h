#pragma once
// Small pieces the locker screens share: the group and month drop-downs,
// amount and date fields.

#include "lockers/lockergroups.h"
#include "widgets/controls.h"

#include <QDate>
#include <QList>
#include <QString>

class QComboBox;
class QWidget;

namespace fitrova {

class DateEdit;
class MoneyEdit;

// Fills the combo with "code-name" items (item data: the code); with
// allText the list starts with that item (data "": every group).
void fillGroupCombo(QComboBox *combo, const QList<LockerGroup> &groups, const QString &allText = {});
// The group code of the selected item; "" for the every-group item.
QString selectedGroupCode(const QComboBox *combo);

// "1 개월" … "12 개월", item data the months.
QComboBox *monthCombo(QWidget *parent, const QString &objectName);
void selectMonths(QComboBox *combo, int months);
int selectedMonths(const QComboBox *combo);

// A won field ("###,##0" when left) and a date field on the given day.
MoneyEdit *wonField(QWidget *parent, const QString &objectName, const QString &fieldName);
DateEdit *dayField(QWidget *parent, const QString &objectName, const QDate &day);

} // namespace fitrova
