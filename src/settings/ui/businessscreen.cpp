#include "settings/ui/businessscreen.h"

#include "settings/settings.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace fitrova {

BusinessScreen::BusinessScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사업장등록"));
    setWindowTitle(QStringLiteral("사업장등록"));

    auto *box = new QGroupBox(QStringLiteral("사업장 정보"), this);
    m_name = textField(box, QStringLiteral("Txt사용처"), 40);
    m_bizNo = textField(box, QStringLiteral("txt사업자번호"), 12);
    m_bizNo->setPlaceholderText(QStringLiteral("000-00-00000"));
    m_address = textField(box, QStringLiteral("Txt주소"), 100);
    // Five-digit postal codes, and the older "###-###" codes that stored
    // addresses still carry.
    m_postCode = textField(box, QStringLiteral("Txt우편번호"), 7);
    m_postCode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,6}|[0-9]{3}-[0-9]{0,3}")), m_postCode));
    m_postCode->setPlaceholderText(QStringLiteral("00000"));
    m_postCode->setFixedWidth(90);
    m_tel = textField(box, QStringLiteral("Txt전화번호"), 20);
    m_fax = textField(box, QStringLiteral("Txt팩스번호"), 20);
    m_ceo = textField(box, QStringLiteral("txtCeo"), 20);
    for (QLineEdit *e : {m_bizNo, m_tel, m_fax, m_ceo})
        e->setFixedWidth(180);

    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const auto addRow = [&](int row, const QString &label, QWidget *w, int span = 3) {
        auto *l = new QLabel(label, box);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        grid->addWidget(l, row, 0);
        grid->addWidget(w, row, 1, 1, span);
    };
    addRow(0, QStringLiteral("사용처명"), m_name);
    addRow(1, QStringLiteral("사업자번호"), m_bizNo, 1);
    addRow(2, QStringLiteral("대표자명"), m_ceo, 1);
    addRow(3, QStringLiteral("우편번호"), m_postCode, 1);
    addRow(4, QStringLiteral("주소"), m_address);
    addRow(5, QStringLiteral("전화번호"), m_tel, 1);
    addRow(6, QStringLiteral("팩스번호"), m_fax, 1);
    grid->setColumnStretch(3, 1);
    // Enter and Tab follow the fields as they stand on the screen.
    const QList<QWidget *> order{m_name, m_bizNo, m_ceo, m_postCode, m_address, m_tel, m_fax};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    auto *note = new QLabel(QStringLiteral("사용처명과 전화번호는 영수증에 인쇄됩니다."), this);
    note->setStyleSheet(QStringLiteral("color: #555;"));

    m_save = new QPushButton(QStringLiteral("저장"), this);
    m_save->setObjectName(QStringLiteral("Cmd저장"));
    m_close = new QPushButton(QStringLiteral("닫기"), this);
    m_close->setObjectName(QStringLiteral("Cmd닫기"));
    for (QPushButton *b : {m_save, m_close})
        b->setMinimumSize(88, 32);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(m_save, &QPushButton::clicked, this, [this] {
        if (save())
            close();
    });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    load();
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
}

void BusinessScreen::load()
{
    const auto d = guard(m_ui, DbAction::Read, [&] { return loadBusinessDetails(m_ui.app.main); });
    if (!d)
        return;
    m_name->setText(d->name);
    m_bizNo->setText(d->bizNo);
    m_address->setText(d->address);
    m_postCode->setText(d->postCode);
    m_tel->setText(d->tel);
    m_fax->setText(d->fax);
    m_ceo->setText(d->ceo);
}

bool BusinessScreen::save()
{
    BusinessDetails d;
    d.name = m_name->text().trimmed();
    d.bizNo = m_bizNo->text().trimmed();
    d.address = m_address->text().trimmed();
    d.postCode = m_postCode->text().trimmed();
    static const QRegularExpression postForm(QStringLiteral("^([0-9]{5}|[0-9]{3}-?[0-9]{3})$"));
    if (!d.postCode.isEmpty() && !postForm.match(d.postCode).hasMatch()) {
        m_ui.msg.warn(QStringLiteral("우편번호는 5자리(예: 06236) 또는 ###-### 형식으로 입력하여 주십시요."),
                      QString::fromUtf8(kSaveTitle));
        m_postCode->setFocus(Qt::OtherFocusReason);
        m_postCode->selectAll();
        return false;
    }
    // Six digits typed without the separator are stored the old way.
    if (d.postCode.size() == 6)
        d.postCode = QString(d.postCode.left(3) + QLatin1Char('-') + d.postCode.mid(3));
    d.tel = m_tel->text().trimmed();
    d.fax = m_fax->text().trimmed();
    d.ceo = m_ceo->text().trimmed();
    if (!guard(m_ui, DbAction::Save, [&] { saveBusinessDetails(m_ui.app, d); }))
        return false;
    m_ui.msg.info(QString::fromUtf8(kSavedText), QString::fromUtf8(kSaveTitle));
    UnsavedChanges::markCleanOf(this);
    return true;
}

} // namespace fitrova
