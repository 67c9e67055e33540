#include "messaging/ui/smstemplatedialog.h"

#include "messaging/smstext.h"
#include "messaging/ui/smstextedit.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

SmsTemplateDialog::SmsTemplateDialog(UiContext &ui, SmsDesk &desk, const SmsTemplate &t, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_desk(desk), m_template(t)
{
    setObjectName(QStringLiteral("frmSmstmForm"));
    setWindowTitle(t.idx == 0 ? QStringLiteral("문자내용 등록") : QStringLiteral("문자내용 수정"));

    m_title = new QLineEdit(t.title, this);
    m_title->setObjectName(QStringLiteral("TxtTitle"));
    m_title->setMaxLength(50);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("LblByte"));
    m_counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text = new SmsTextEdit(this, QStringLiteral("TxtContext"), m_counter, smsTemplateByteCounter);
    m_text->setText(t.text);
    m_text->setFixedHeight(110);

    auto *places = new QHBoxLayout;
    for (const auto &[name, text] : {std::pair{"CmdName", kPlaceName}, std::pair{"CmdDate", kPlaceDate},
                                     std::pair{"CmdPlace", kPlaceBusiness}}) {
        const QString place = QString::fromUtf8(text);
        QPushButton *b = commandButton(this, QString::fromLatin1(name), place, 70);
        connect(b, &QPushButton::clicked, this, [this, place] { m_text->insertAtCaret(place); });
        places->addWidget(b);
    }
    places->addStretch();
    places->addWidget(m_counter);

    auto *grid = new QGridLayout;
    grid->addWidget(caption(this, QStringLiteral("제목")), 0, 0);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(caption(this, QStringLiteral("내용")), 1, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_text, 1, 1);
    grid->addLayout(places, 2, 1);

    QPushButton *saveButton = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttonRow({saveButton, close}));
    setMinimumWidth(420);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(saveButton, &QPushButton::clicked, this, &SmsTemplateDialog::save);
    connect(close, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

bool SmsTemplateDialog::save()
{
    const SmsTemplate t{m_template.idx, m_title->text(), m_text->text()};
    const auto r = guard(m_ui, t.idx == 0 ? DbAction::Save : DbAction::Update,
                         [&] { return saveSmsTemplate(m_desk.link.primary(), m_desk.login.customId, t); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        if (r->field == 1)
            m_title->setFocus();
        else if (r->field == 2)
            m_text->setFocus();
        return false;
    }
    m_template = SmsTemplate{r->id, t.title.trimmed(), cutToSmsBytes(t.text)};
    accept();
    return true;
}

} // namespace fitrova
