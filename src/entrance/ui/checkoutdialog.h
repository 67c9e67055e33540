#pragma once
// 퇴장확인: the check-out of one visit. The caller sets Entid, shows the
// window modally and reads JobGubun afterwards: "S" saved, "X" closed.

#include "entrance/checkout.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace fitrova {

class CheckOutDialog : public QDialog {
    Q_OBJECT
public:
    CheckOutDialog(UiContext &ui, qint64 entid, QWidget *parent = nullptr);

    qint64 Entid = 0;
    QString JobGubun = QStringLiteral("X");

    const CheckOutInfo &info() const { return m_info; }
    // 퇴장: saves and closes; false when nothing could be saved.
    bool save();

private:
    void refreshFigures();

    UiContext &m_ui;
    CheckOutInfo m_info;
    QLabel *m_name, *m_program, *m_in, *m_out;
    QLineEdit *m_used, *m_memo;
    QLabel *m_usedText, *m_extra, *m_extraText, *m_remain, *m_remainText;
};

} // namespace fitrova
