#include "catalogue/ui/lecturereditdialog.h"

#include "catalogue/codesequence.h"
#include "catalogue/lecturers.h"
#include "widgets/deskguard.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

LecturerEditDialog::LecturerEditDialog(UiContext &ui, const QString &jobGubun, const QString &ltCode,
                                       QWidget *parent)
    : QDialog(parent), JobGubun(jobGubun), m_ui(ui)
{
    setObjectName(QStringLiteral("강사등록sub"));

    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("TxtLtCode"));
    m_code->setReadOnly(true);
    m_code->setFocusPolicy(Qt::NoFocus);
    m_code->setMaximumWidth(80);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtLtName"));
    m_name->setMaxLength(40);
    m_tel = new QLineEdit(this);
    m_tel->setObjectName(QStringLiteral("TxtTel"));
    m_tel->setMaxLength(20);
    m_use = new QCheckBox(QStringLiteral("사용함"), this);
    m_use->setObjectName(QStringLiteral("ChkUse"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("강사코드"), m_code);
    form->addRow(QStringLiteral("강 사 명"), m_name);
    form->addRow(QStringLiteral("전화번호"), m_tel);
    form->addRow(QString(), m_use);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 10);
    outer->addLayout(form);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    resize(380, 200);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(m_tel, &QLineEdit::editingFinished, this, [this] { m_tel->setText(formatPhone(m_tel->text())); });
    connect(cmdNew, &QPushButton::clicked, this, &LecturerEditDialog::newLecturer);
    connect(cmdSave, &QPushButton::clicked, this, &LecturerEditDialog::save);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });

    if (JobGubun == QLatin1String("C"))
        load(ltCode);
    else
        newLecturer();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void LecturerEditDialog::updateCaption()
{
    setWindowTitle(JobGubun == QLatin1String("C") ? QStringLiteral("강사등록 - 수정") : QStringLiteral("강사등록 - 신규"));
}

void LecturerEditDialog::newLecturer()
{
    JobGubun = QStringLiteral("N");
    updateCaption();
    const auto code = guard(m_ui, DbAction::Read, [&] { return nextLecturerCode(m_ui.app.main); });
    m_code->setText(code.value_or(QString()));
    m_name->clear();
    m_tel->clear();
    m_use->setChecked(true);
    UnsavedChanges::markCleanOf(this);
    m_name->setFocus();
}

void LecturerEditDialog::load(const QString &code)
{
    updateCaption();
    const std::optional<Lecturer> l =
        guard(m_ui, DbAction::Read, [&] { return loadLecturer(m_ui.app.main, code); }).value_or(std::nullopt);
    if (!l) {
        m_code->setText(code);
        return;
    }
    m_code->setText(l->code);
    m_name->setText(l->name);
    m_tel->setText(l->tel);
    m_use->setChecked(l->inUse);
    m_name->setFocus();
}

bool LecturerEditDialog::save()
{
    Lecturer l;
    l.code = m_code->text();
    l.name = m_name->text();
    l.tel = formatPhone(m_tel->text());
    l.inUse = m_use->isChecked();
    const bool isNew = JobGubun != QLatin1String("C");
    const auto r = guard(m_ui, DbAction::Save, [&] { return saveLecturer(m_ui.app.main, l, isNew); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        if (r->field == LecturerNameField)
            m_name->setFocus();
        return false;
    }
    TF = true;
    emit lecturerSaved(r->code);
    if (isNew)
        newLecturer();
    UnsavedChanges::markCleanOf(this);
    return true;
}

} // namespace fitrova
