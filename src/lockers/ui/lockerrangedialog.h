#pragma once
// The number-range dialog (사물함번호생성창): more locker numbers for a group.
// The numbers of the range must all be new; TF is set when they were made.

#include "widgets/uicontext.h"

#include <QDialog>

class QLineEdit;

namespace fitrova {

class LockerRangeDialog : public QDialog {
    Q_OBJECT
public:
    LockerRangeDialog(UiContext &ui, const QString &boxCode, const QString &boxName, QWidget *parent = nullptr);

    bool TF = false;
    // Makes the numbers; closes the dialog when they were made.
    bool makeNumbers();

private:
    UiContext &m_ui;
    QString m_code;
    QLineEdit *m_num1, *m_num2;
};

} // namespace fitrova
