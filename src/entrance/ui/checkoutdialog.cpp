#include "entrance/ui/checkoutdialog.h"

#include "data/dates.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace fitrova {

CheckOutDialog::CheckOutDialog(UiContext &ui, qint64 entid, QWidget *parent)
    : QDialog(parent), Entid(entid), m_ui(ui)
{
    setObjectName(QStringLiteral("퇴장확인"));
    setWindowTitle(QStringLiteral("퇴장확인"));

    m_name = displayPanel(this, QStringLiteral("Pnl회원명"), 160);
    m_program = displayPanel(this, QStringLiteral("Pnl프로그램"), 160);
    m_in = displayPanel(this, QStringLiteral("Pnl입장시간"), 80, Qt::AlignCenter);
    m_out = displayPanel(this, QStringLiteral("Pnl퇴장시간"), 80, Qt::AlignCenter);
    m_used = new QLineEdit(this);
    m_used->setObjectName(QStringLiteral("TxtUtime"));
    m_used->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_used->setMaximumWidth(90);
    m_used->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), m_used));
    m_usedText = displayPanel(this, QStringLiteral("PnlUtime"), 110);
    m_extra = displayPanel(this, QStringLiteral("Pnl추가시간"), 90, Qt::AlignRight);
    m_extraText = displayPanel(this, QStringLiteral("Pnl추가시간2"), 110);
    m_remain = displayPanel(this, QStringLiteral("Pnl잔여시간"), 90, Qt::AlignRight);
    m_remainText = displayPanel(this, QStringLiteral("Pnl잔여시간2"), 110);
    m_memo = new QLineEdit(this);
    m_memo->setObjectName(QStringLiteral("TxtMemo"));
    m_memo->setMaxLength(200);

    auto *form = new QGridLayout;
    int row = 0;
    form->addWidget(caption(this, QStringLiteral("회 원 명")), row, 0);
    form->addWidget(m_name, row++, 1, 1, 2);
    form->addWidget(caption(this, QStringLiteral("프로그램")), row, 0);
    form->addWidget(m_program, row++, 1, 1, 2);
    form->addWidget(caption(this, QStringLiteral("입장시간")), row, 0);
    form->addWidget(m_in, row++, 1);
    form->addWidget(caption(this, QStringLiteral("퇴장시간")), row, 0);
    form->addWidget(m_out, row++, 1);
    form->addWidget(caption(this, QStringLiteral("사용시간(분)")), row, 0);
    form->addWidget(m_used, row, 1);
    form->addWidget(m_usedText, row++, 2);
    form->addWidget(caption(this, QStringLiteral("추가시간(분)")), row, 0);
    form->addWidget(m_extra, row, 1);
    form->addWidget(m_extraText, row++, 2);
    form->addWidget(caption(this, QStringLiteral("잔여시간(분)")), row, 0);
    form->addWidget(m_remain, row, 1);
    form->addWidget(m_remainText, row++, 2);
    form->addWidget(caption(this, QStringLiteral("참조사항")), row, 0);
    form->addWidget(m_memo, row++, 1, 1, 2);

    QPushButton *cmdOut = commandButton(this, QStringLiteral("Cmd퇴장"), QStringLiteral("퇴장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({cmdOut, cmdClose}));

    connect(cmdOut, &QPushButton::clicked, this, [this] { save(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        JobGubun = QStringLiteral("X");
        reject();
    });
    connect(m_used, &QLineEdit::textChanged, this, [this] { refreshFigures(); });
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    const auto info =
        guard(m_ui, DbAction::Read, [&] { return loadCheckOut(m_ui.app.ent, Entid, m_ui.app.clock().now()); });
    if (info)
        m_info = *info;
    if (m_info.found) {
        m_name->setText(m_info.memberName);
        m_program->setText(m_info.programName);
        m_in->setText(m_info.inTime);
        m_out->setText(m_info.outTime);
        m_memo->setText(m_info.memo);
        m_used->setText(QString::number(m_info.usedMinutes));
    }
    cmdOut->setEnabled(m_info.found);
    refreshFigures();
    m_used->setFocus();
}

void CheckOutDialog::refreshFigures()
{
    const auto used = parseMinutes(m_used->text());
    if (!m_info.found || !used) {
        m_usedText->clear();
        m_extra->clear();
        m_extraText->clear();
        m_remain->clear();
        m_remainText->clear();
        return;
    }
    const CheckOutFigures f = checkOutFigures(m_info, *used);
    m_usedText->setText(f.usedText);
    m_remain->setText(f.hasLecture ? QString::number(f.remain) : QString());
    m_remainText->setText(f.remainText);
    m_extra->setText(f.hasExtra ? QString::number(f.extra) : QString());
    m_extraText->setText(f.extraText);
    // An overrun shows in red.
    for (QLabel *l : {m_extra, m_extraText})
        l->setStyleSheet(f.hasExtra ? QStringLiteral("color: #d01010; font-weight: bold;") : QString());
}

bool CheckOutDialog::save()
{
    if (!m_info.found)
        return false;
    const auto used = parseMinutes(m_used->text());
    if (!used) {
        m_ui.msg.warn(minutesOnlyText(), minutesOnlyTitle());
        m_used->setFocus();
        return false;
    }
    const CheckOutFigures f = checkOutFigures(m_info, *used);
    if (f.hasExtra && !m_ui.msg.ask(overrunQuestion(f), windowTitle())) {
        m_used->setFocus();
        return false;
    }
    const auto saved = guard(m_ui, DbAction::Save, [&] {
        return saveCheckOut(m_ui.app.ent, Entid, m_info.outTime, *used, m_memo->text().trimmed());
    });
    if (!saved || !*saved)
        return false;
    m_ui.msg.notice(checkOutSavedText());
    JobGubun = QStringLiteral("S");
    accept();
    return true;
}

} // namespace fitrova
