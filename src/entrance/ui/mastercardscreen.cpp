#include "entrance/ui/mastercardscreen.h"

#include "entrance/mastercard.h"
#include "members/ui/memberpickdialog.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

MasterCardScreen::MasterCardScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("마스터카드"));
    setWindowTitle(QStringLiteral("마스터카드"));

    pickMember = [this](const QList<MemberRecord> &members) {
        MemberPickDialog dlg(m_ui, members, this);
        if (dlg.exec() == QDialog::Accepted && dlg.TF)
            return dlg.MbCode;
        return QString();
    };

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("Cob구분"));
    m_kind->addItems(memberSearchKindItems());
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Txt찾기"));
    m_search->setMaxLength(30);
    excludeFromEnterAsTab(m_search);
    QPushButton *cmdFind = commandButton(this, QStringLiteral("Cmd찾기"), QStringLiteral("찾기"), 64);

    m_code = displayPanel(this, QStringLiteral("Pnl회원번호"), 90);
    m_name = displayPanel(this, QStringLiteral("Pnl회원명"), 120);
    m_mobile = displayPanel(this, QStringLiteral("Pnl휴대폰"), 120);
    m_tel = displayPanel(this, QStringLiteral("Pnl자택전화"), 120);
    m_card = displayPanel(this, QStringLiteral("Pnl카드번호"), 120);
    m_juno1 = displayPanel(this, QStringLiteral("TxtJuno1"), 70);
    m_juno2 = displayPanel(this, QStringLiteral("TxtJuno2"), 80);
    m_master = displayPanel(this, QStringLiteral("PnlMast"), 120, Qt::AlignCenter);
    QFont f = m_master->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    m_master->setFont(f);
    m_master->setStyleSheet(QStringLiteral("color: #0033cc;"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_kind);
    top->addWidget(m_search, 1);
    top->addWidget(cmdFind);

    auto *form = new QGridLayout;
    int r = 0;
    form->addWidget(caption(this, QStringLiteral("회원번호")), r, 0);
    form->addWidget(m_code, r++, 1);
    form->addWidget(caption(this, QStringLiteral("회 원 명")), r, 0);
    form->addWidget(m_name, r++, 1);
    form->addWidget(caption(this, QStringLiteral("핸 드 폰")), r, 0);
    form->addWidget(m_mobile, r++, 1);
    form->addWidget(caption(this, QStringLiteral("자택전화")), r, 0);
    form->addWidget(m_tel, r++, 1);
    form->addWidget(caption(this, QStringLiteral("카드번호")), r, 0);
    form->addWidget(m_card, r++, 1);
    form->addWidget(caption(this, QStringLiteral("주민번호")), r, 0);
    auto *juno = new QHBoxLayout;
    juno->addWidget(m_juno1);
    juno->addWidget(new QLabel(QStringLiteral("-"), this));
    juno->addWidget(m_juno2);
    juno->addStretch();
    form->addLayout(juno, r++, 1);
    form->addWidget(m_master, r++, 0, 1, 2);
    form->setColumnStretch(1, 1);

    QPushButton *cmdSet = commandButton(this, QStringLiteral("Cmd등록"), QStringLiteral("등록"));
    QPushButton *cmdClear = commandButton(this, QStringLiteral("Cmd해제"), QStringLiteral("해제"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttonRow({cmdSet, cmdClear, cmdClose}));

    connect(m_search, &QLineEdit::returnPressed, this, &MasterCardScreen::searchData);
    connect(cmdFind, &QPushButton::clicked, this, &MasterCardScreen::searchData);
    connect(cmdSet, &QPushButton::clicked, this, [this] { mark(true); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { mark(false); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    m_search->setFocus();
}

void MasterCardScreen::clearMember()
{
    m_mbCode.clear();
    for (QLabel *l : {m_code, m_name, m_mobile, m_tel, m_card, m_juno1, m_juno2, m_master})
        l->clear();
}

void MasterCardScreen::showMember(const MemberRecord &m)
{
    m_mbCode = m.mbCode;
    m_code->setText(m.mbCode);
    m_name->setText(m.mbName);
    m_mobile->setText(m.tel1);
    m_tel->setText(m.tel2);
    m_card->setText(m.mbCard);
    m_juno1->setText(m.juno1);
    m_juno2->setText(m.juno2);
    m_master->setText(m.isMaster() ? masterCardPanelText() : QString());
}

void MasterCardScreen::searchData()
{
    const QString text = m_search->text().trimmed();
    if (text.isEmpty())
        return;
    const MemberSearchKind kind = memberSearchKindOf(m_kind->currentText());
    guard(m_ui, DbAction::Read, [&] {
        const QList<MemberRecord> found = searchMembers(m_ui.app.main, kind, text);
        if (found.isEmpty()) {
            clearMember();
            m_ui.msg.warn(masterCardNotFoundText(), masterCardNotFoundTitle());
            return;
        }
        if (found.size() == 1) {
            showMember(found.first());
            return;
        }
        const QString code = pickMember ? pickMember(found) : QString();
        if (code.isEmpty())
            return;
        if (const auto m = loadMember(m_ui.app.main, code))
            showMember(*m);
    });
}

void MasterCardScreen::mark(bool master)
{
    if (m_mbCode.isEmpty())
        return;
    const auto set = guard(m_ui, DbAction::Save, [&] { return setMasterCard(m_ui.app.main, m_mbCode, master); });
    if (!set || !*set)
        return;
    m_ui.msg.notice(master ? masterCardSetText() : masterCardClearedText());
    // Shown again as stored.
    guard(m_ui, DbAction::Read, [&] {
        if (const auto m = loadMember(m_ui.app.main, m_mbCode))
            showMember(*m);
    });
}

} // namespace fitrova
