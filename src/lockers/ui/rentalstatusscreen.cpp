#include "lockers/ui/rentalstatusscreen.h"

#include "lockers/lockertexts.h"
#include "lockers/ui/lockerui.h"
#include "widgets/busynotice.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace fitrova {

RentalStatusScreen::RentalStatusScreen(UiContext &ui, QWidget *parent, MemberHandover sendSms)
    : QWidget(parent), m_ui(ui), m_sendSms(std::move(sendSms))
{
    setObjectName(QStringLiteral("사물함대여현황"));
    setWindowTitle(QStringLiteral("사물함 대여현황"));

    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("Cob사물함"));
    m_group->setMinimumWidth(180);
    m_use = new QComboBox(this);
    m_use->setObjectName(QStringLiteral("Cob사용"));
    m_use->addItems(lockerUseItems());
    m_expiry = new QCheckBox(QStringLiteral("만기일"), this);
    m_expiry->setObjectName(QStringLiteral("Chk만기일"));
    m_expiryDate = dayField(this, QStringLiteral("Txt만기일"), ui.app.clock().today());
    m_expiryDate->setEnabled(false);
    m_days = new QLineEdit(this);
    m_days->setObjectName(QStringLiteral("TxtDay"));
    m_days->setValidator(new QIntValidator(0, 36500, m_days));
    m_days->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_days->setMaximumWidth(56);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("PnlCount"));

    auto *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 60);
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 60);
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 60);
    auto *cmdSms = commandButton(this, QStringLiteral("Cmd문자전송"), QStringLiteral("문자전송"), 72);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 60);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns(rentalStatusHeaders(), {104, 44, 40, 40, 84, 84, 70, 70, 124, 104, 104, 80, 76});
    m_grid->setColumnAlignment(RsNum, Qt::AlignRight | Qt::AlignVCenter);
    m_grid->setColumnAlignment(RsMonths, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {int(RsUse), int(RsStart), int(RsEnd), int(RsMbCode), int(RsLastMonth)})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);

    auto *criteriaRow = new QHBoxLayout;
    criteriaRow->addWidget(new QLabel(QStringLiteral("사물함구분 : "), this));
    criteriaRow->addWidget(m_group);
    criteriaRow->addWidget(new QLabel(QStringLiteral("사용구분  : "), this));
    criteriaRow->addWidget(m_use);
    criteriaRow->addSpacing(8);
    criteriaRow->addWidget(m_expiry);
    criteriaRow->addWidget(m_expiryDate);
    criteriaRow->addWidget(new QLabel(QStringLiteral("이전"), this));
    criteriaRow->addSpacing(8);
    criteriaRow->addWidget(new QLabel(QStringLiteral("만기후"), this));
    criteriaRow->addWidget(m_days);
    criteriaRow->addWidget(new QLabel(QStringLiteral("일 경과"), this));
    criteriaRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    for (QPushButton *b : {cmdQuery, cmdPrint, cmdExcel, cmdSms, cmdClose})
        buttons->addWidget(b);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addLayout(criteriaRow);
    lay->addLayout(buttons);
    lay->addWidget(m_grid, 1);

    connect(m_expiry, &QCheckBox::toggled, m_expiryDate, &QWidget::setEnabled);
    connect(cmdQuery, &QPushButton::clicked, this, &RentalStatusScreen::query);
    connect(cmdPrint, &QPushButton::clicked, this, &RentalStatusScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &RentalStatusScreen::exportExcel);
    connect(cmdSms, &QPushButton::clicked, this, &RentalStatusScreen::sendSms);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    const auto groups = guard(m_ui, DbAction::Read, [&] { return lockerGroups(m_ui.app.main); });
    fillGroupCombo(m_group, groups.value_or(QList<LockerGroup>{}), QStringLiteral("A-ALL"));
}

std::optional<RentalStatusCriteria> RentalStatusScreen::criteria()
{
    RentalStatusCriteria c;
    c.boxCode = selectedGroupCode(m_group);
    c.use = lockerUseOfItem(m_use->currentText());
    if (m_expiry->isChecked())
        c.endedBefore = m_expiryDate->dateText();
    const QString days = m_days->text().trimmed();
    if (!days.isEmpty()) {
        bool ok = false;
        c.overdueDays = days.toInt(&ok);
        if (!ok || c.overdueDays < 0) {
            m_ui.msg.warn(QStringLiteral("경과일수를 숫자로 입력하십시요."), QStringLiteral("입력확인"));
            m_days->setFocus();
            return std::nullopt;
        }
    }
    return c;
}

void RentalStatusScreen::query()
{
    const auto c = criteria();
    if (!c)
        return;
    BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
    const auto lines = guard(m_ui, DbAction::Read,
                             [&] { return loadRentalStatus(m_ui.app.main, *c, m_ui.app.clock().today()); });
    if (!lines)
        return;
    m_lines = *lines;
    QList<QStringList> rows;
    QVariantList keys;
    int rented = 0;
    for (const RentalStatusLine &l : m_lines) {
        rows << rentalStatusCells(l);
        keys << QVariant(QString(l.boxCode + QLatin1Char('/') + QString::number(l.boxNum)));
        rented += isRentedFlag(l.uUse) ? 1 : 0;
    }
    m_grid->setRows(rows, keys);
    // Rentals that ended and were not given back stand out.
    const QString today = m_ui.app.clock().today().toString(Qt::ISODate);
    for (int r = 0; r < m_lines.size(); ++r)
        if (isRentedFlag(m_lines[r].uUse) && !m_lines[r].endDate.isEmpty() && m_lines[r].endDate < today)
            m_grid->setRowForeground(r, QColor(0xC0, 0x10, 0x10));
    m_count->setText(QStringLiteral("사물함 %1개 (대여 %2개, 빈사물함 %3개)")
                         .arg(m_lines.size())
                         .arg(rented)
                         .arg(m_lines.size() - rented));
}

void RentalStatusScreen::print()
{
    QString line3 = QStringLiteral("사용구분 : ") + m_use->currentText().trimmed();
    if (m_expiry->isChecked())
        line3 += QStringLiteral("   만기일 : ") + m_expiryDate->dateText() + QStringLiteral(" 이전");
    if (!m_days->text().trimmed().isEmpty())
        line3 += QStringLiteral("   만기후 ") + m_days->text().trimmed() + QStringLiteral("일 경과");
    printGridPreview(*m_grid, QStringLiteral("사물함 대여현황"), QStringLiteral("사물함구분 : ") + m_group->currentText(),
                     line3, QString(), true, -1, 0, -1, m_ui.app.business.name);
}

void RentalStatusScreen::exportExcel() { exportGridForUser(m_ui, QStringLiteral("사물함대여현황"), *m_grid); }

MemberContacts RentalStatusScreen::renters() const
{
    MemberContacts out;
    QSet<QString> seen;
    for (const RentalStatusLine &l : m_lines) {
        if (l.mbCode.isEmpty() || seen.contains(l.mbCode))
            continue;
        seen.insert(l.mbCode);
        // The SMS screen shows (and a message may quote) the end date.
        out << MemberContact{l.mbCode, l.mbName, l.tel1, {}, {}, {}, l.endDate};
    }
    return out;
}

void RentalStatusScreen::sendSms()
{
    runHandover(m_ui, m_sendSms, renters(), QStringLiteral("사물함 미반납자회원 문자보내기"), this);
}

} // namespace fitrova
