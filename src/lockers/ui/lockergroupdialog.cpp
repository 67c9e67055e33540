#include "lockers/ui/lockergroupdialog.h"

#include "data/listitems.h"
#include "data/text.h"
#include "lockers/ui/lockerui.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QComboBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QLineEdit *numberField(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setValidator(new QIntValidator(0, int(kMaxLockerNumber), e));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setMaximumWidth(80);
    return e;
}

qint64 numberOf(const QLineEdit *e) { return e->text().trimmed().toLongLong(); }

} // namespace

LockerGroupDialog::LockerGroupDialog(UiContext &ui, const QString &jobGubun, const QString &code, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_job(jobGubun == QLatin1String("C") ? QStringLiteral("C") : QStringLiteral("N")),
      m_code(code)
{
    setObjectName(QStringLiteral("사물함코드등록Sub"));
    setWindowTitle(m_job == QLatin1String("C") ? QStringLiteral("사물함코드 등록 - 수정")
                                               : QStringLiteral("사물함코드 등록 - 신규"));

    m_boxCode = new QLineEdit(this);
    m_boxCode->setObjectName(QStringLiteral("TxtBoxCode"));
    m_boxCode->setReadOnly(true);
    m_boxCode->setFocusPolicy(Qt::NoFocus);
    m_boxCode->setMaximumWidth(60);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtBoxName"));
    m_name->setMaxLength(40);
    setHangulMode(m_name, true);
    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour"));
    m_deposit = wonField(this, QStringLiteral("TxtSamt"), QStringLiteral("보증금"));
    m_fee = wonField(this, QStringLiteral("TxtUamt"), QStringLiteral("월사용료"));
    m_num1 = numberField(this, QStringLiteral("TxtNum1"));
    m_num2 = numberField(this, QStringLiteral("TxtNum2"));

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("코    드")), 0, 0);
    form->addWidget(m_boxCode, 0, 1, Qt::AlignLeft);
    form->addWidget(caption(this, QStringLiteral("사물함명칭")), 1, 0);
    form->addWidget(m_name, 1, 1, 1, 4);
    form->addWidget(caption(this, QStringLiteral("강    좌")), 2, 0);
    form->addWidget(m_course, 2, 1, 1, 4);
    form->addWidget(caption(this, QStringLiteral("보 증 금")), 3, 0);
    form->addWidget(m_deposit, 3, 1);
    form->addWidget(caption(this, QStringLiteral("월사용료")), 4, 0);
    form->addWidget(m_fee, 4, 1);
    form->addWidget(caption(this, QStringLiteral("번    호")), 5, 0);
    form->addWidget(m_num1, 5, 1);
    form->addWidget(new QLabel(QStringLiteral("번 에서"), this), 5, 2);
    form->addWidget(m_num2, 5, 3);
    form->addWidget(new QLabel(QStringLiteral("번 까지"), this), 5, 4);
    form->setColumnStretch(5, 1);

    auto *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 84, true);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    if (m_job == QLatin1String("C")) {
        auto *note = new QLabel(QStringLiteral("번호를 늘리려면 사물함번호생성을 사용하십시요."), this);
        note->setStyleSheet(QStringLiteral("color: #555;"));
        lay->addWidget(note);
    }
    lay->addLayout(buttonRow({cmdSave, cmdClose}));

    connect(cmdSave, &QPushButton::clicked, this, [this] { save(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    load();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void LockerGroupDialog::load()
{
    const auto courses = guard(m_ui, DbAction::Read, [&] { return courseItems(m_ui.app.main, QStringLiteral("P"), false); });
    if (courses)
        fillCombo(m_course, *courses);
    if (m_job == QLatin1String("N")) {
        resetForNext();
        return;
    }
    const auto g = guard(m_ui, DbAction::Read, [&] { return findLockerGroup(m_ui.app.main, m_code); });
    const auto range = guard(m_ui, DbAction::Read, [&] { return lockerNumberRange(m_ui.app.main, m_code); });
    if (!g || !*g)
        return;
    const LockerGroup &grp = **g;
    m_boxCode->setText(grp.code);
    m_name->setText(grp.name);
    if (!grp.course.isEmpty()) {
        bool found = false;
        for (int i = 0; i < m_course->count() && !found; ++i)
            if (codeOf(m_course->itemText(i)) == grp.course) {
                m_course->setCurrentIndex(i);
                found = true;
            }
        if (!found) {
            m_course->addItem(grp.course);
            m_course->setCurrentIndex(m_course->count() - 1);
        }
    }
    m_deposit->setAmount(grp.deposit);
    m_fee->setAmount(grp.fee);
    if (range && *range) {
        m_num1->setText(QString::number((*range)->first));
        m_num2->setText(QString::number((*range)->second));
    }
    // A change leaves the lockers as they are.
    m_num1->setEnabled(false);
    m_num2->setEnabled(false);
    m_name->setFocus();
}

void LockerGroupDialog::resetForNext()
{
    const auto code = guard(m_ui, DbAction::Read, [&] { return nextLockerGroupCode(m_ui.app.main); });
    m_boxCode->setText(code ? *code : QString());
    m_name->clear();
    m_deposit->setAmount(0);
    m_fee->setAmount(0);
    m_num1->clear();
    m_num2->clear();
    if (m_course->count() > 0)
        m_course->setCurrentIndex(0);
    m_name->setFocus();
    UnsavedChanges::markCleanOf(this);
}

void LockerGroupDialog::focusField(int field)
{
    switch (field) {
    case GroupFieldName: m_name->setFocus(); break;
    case GroupFieldDeposit: m_deposit->setFocus(); break;
    case GroupFieldFrom: m_num1->setFocus(); m_num1->selectAll(); break;
    default: break;
    }
}

bool LockerGroupDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    LockerGroupInput in;
    in.jobGubun = m_job;
    in.group.code = m_boxCode->text().trimmed();
    in.group.name = m_name->text();
    in.group.course = codeOf(m_course->currentText()).isEmpty() ? m_course->currentText().left(1)
                                                                : codeOf(m_course->currentText());
    in.group.deposit = m_deposit->amount();
    in.group.fee = m_fee->amount();
    if (m_job == QLatin1String("N")) {
        in.numFrom = numberOf(m_num1);
        in.numTo = numberOf(m_num2);
    }
    const DbAction action = m_job == QLatin1String("C") ? DbAction::Update : DbAction::Save;
    auto s = guard(m_ui, action, [&] { return saveLockerGroup(m_ui.app, in, ExistingNumbers::Ask); });
    if (s && s->askReplace) {
        const bool replace = m_ui.msg.ask(replaceNumbersQuestion(), replaceNumbersTitle());
        s = guard(m_ui, action, [&] {
            return saveLockerGroup(m_ui.app, in, replace ? ExistingNumbers::Replace : ExistingNumbers::Keep);
        });
    }
    if (!s)
        return false;
    if (!showOutcome(m_ui, s->outcome)) {
        if (s->outcome.field == GroupFieldCode && m_job == QLatin1String("N")) {
            // Another desk took the code: offer the next one.
            const auto code = guard(m_ui, DbAction::Read, [&] { return nextLockerGroupCode(m_ui.app.main); });
            if (code)
                m_boxCode->setText(*code);
        }
        focusField(s->outcome.field);
        return false;
    }
    TF = true;
    emit saved(s->outcome.code);
    UnsavedChanges::markCleanOf(this);
    if (m_job == QLatin1String("C"))
        accept();
    else
        resetForNext();
    return true;
}

} // namespace fitrova
