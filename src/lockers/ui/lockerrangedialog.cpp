#include "lockers/ui/lockerrangedialog.h"

#include "lockers/lockergroups.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

LockerRangeDialog::LockerRangeDialog(UiContext &ui, const QString &boxCode, const QString &boxName, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_code(boxCode)
{
    setObjectName(QStringLiteral("사물함번호생성창"));
    setWindowTitle(QStringLiteral("사물함번호 생성"));

    auto *group = displayPanel(this, QStringLiteral("PnlBoxName"), 220);
    group->setText(boxCode + QLatin1Char('.') + boxName);
    const auto numberField = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setValidator(new QIntValidator(0, int(kMaxLockerNumber), e));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setMaximumWidth(80);
        return e;
    };
    m_num1 = numberField(QStringLiteral("TxtNum1"));
    m_num2 = numberField(QStringLiteral("TxtNum2"));

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("사물함")), 0, 0);
    form->addWidget(group, 0, 1, 1, 4);
    form->addWidget(caption(this, QStringLiteral("번    호")), 1, 0);
    form->addWidget(m_num1, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("번 에서"), this), 1, 2);
    form->addWidget(m_num2, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("번 까지"), this), 1, 4);

    auto *cmdMake = commandButton(this, QStringLiteral("Cmd생성"), QStringLiteral("번호생성"), 84, true);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(buttonRow({cmdMake, cmdClose}));
    connect(cmdMake, &QPushButton::clicked, this, [this] { makeNumbers(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    // The next free numbers are offered.
    const auto range = guard(m_ui, DbAction::Read, [&] { return lockerNumberRange(m_ui.app.main, m_code); });
    if (range && *range)
        m_num1->setText(QString::number((*range)->second + 1));
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    m_num1->setFocus();
}

bool LockerRangeDialog::makeNumbers()
{
    const qint64 from = m_num1->text().trimmed().toLongLong(), to = m_num2->text().trimmed().toLongLong();
    const auto o = guard(m_ui, DbAction::Save, [&] { return makeLockerNumbers(m_ui.app, m_code, from, to); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        m_num1->setFocus();
        m_num1->selectAll();
        return false;
    }
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
