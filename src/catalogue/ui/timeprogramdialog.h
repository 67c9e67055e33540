#pragma once
// The time-based program editor (쿠폰등록): name, course item, validity in
// months, hours of use (shown in minutes beside), price and in use. Opened
// with JobGubun "N" (new) or "C" (change) and Pgid; TF tells the list that
// something was saved.

#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace fitrova {

struct TimeProgram;

class TimeProgramDialog : public QDialog {
    Q_OBJECT
public:
    TimeProgramDialog(UiContext &ui, const QString &jobGubun, qint64 pgId, QWidget *parent = nullptr);

    QString JobGubun;
    qint64 Pgid = 0;
    bool TF = false;

    bool save();
    TimeProgram inputs() const;

private:
    void loadProgram();
    void updateCaption();
    void updateMinutes();
    void formatPrice();

    UiContext &m_ui;
    QString m_pgGubun = QStringLiteral("2");
    QLineEdit *m_name, *m_hours, *m_price;
    QComboBox *m_course, *m_month;
    QLabel *m_minutes;
    QCheckBox *m_use;
};

} // namespace fitrova
