#include "settings/ui/workstationscreen.h"

#include "foundation/inifile.h"
#include "settings/settings.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <algorithm>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->addItems(items);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QStringList portItems()
{
    QStringList l;
    for (int i = 1; i <= 8; ++i)
        l << QStringLiteral("%1.Comm%1").arg(i);
    return l;
}

// The code of an item is its first character ("1.Comm1" → "1").
QString codeOf(const QComboBox *c) { return c->currentText().left(1); }

void selectCode(QComboBox *c, const QString &code)
{
    for (int i = 0; i < c->count(); ++i)
        if (!code.isEmpty() && c->itemText(i).startsWith(code.left(1))) {
            c->setCurrentIndex(i);
            return;
        }
    c->setCurrentIndex(0);
}

QLabel *hint(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    // Grey, and greyer still when the page is switched off.
    QPalette pal = l->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        pal.setColor(g, QPalette::WindowText, QColor(0x55, 0x55, 0x55));
    l->setPalette(pal);
    return l;
}

const char *const kProductWord = "Brenmoor";

} // namespace

WorkstationScreen::WorkstationScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사용자환경"));
    setWindowTitle(QStringLiteral("사용자환경"));
    m_endProgram = [] { QCoreApplication::quit(); };

    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("Tab1"));
    m_tab->addTab(buildOptionsPage(), QStringLiteral("운영환경설정"));
    m_tab->addTab(buildWorkstationPage(), QStringLiteral("POS환경설정"));
    m_tab->addTab(buildNetworkPage(), QStringLiteral("네트웍환경설정"));

    m_save = new QPushButton(QStringLiteral("저장"), this);
    m_save->setObjectName(QStringLiteral("Cmd저장"));
    m_close = new QPushButton(QStringLiteral("닫기"), this);
    m_close->setObjectName(QStringLiteral("Cmd닫기"));
    for (QPushButton *b : {m_save, m_close})
        b->setMinimumSize(88, 32);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint(QStringLiteral("저장은 지금 보이는 화면의 내용만 저장합니다."), this));
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addLayout(buttons);
    setMinimumSize(600, 470);

    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    // Nothing to save on the network page while it is switched off.
    connect(m_tab, &QTabWidget::currentChanged, this,
            [this](int page) { m_save->setEnabled(page != NetworkPage || m_networkEnabled); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    loadOptions();
    loadWorkstation();
    loadNetwork();

    // Each page is saved on its own; closing saves the pages that changed.
    for (int page = 0; page < m_tab->count(); ++page)
        m_pageChanges << new UnsavedChanges(m_tab->widget(page), m_ui.msg, {});
    auto *changes = new UnsavedChanges(this, m_ui.msg, [this] {
        for (int page = 0; page < m_pageChanges.size(); ++page) {
            if (!m_pageChanges[page]->isDirty())
                continue;
            m_tab->setCurrentIndex(page);
            if (!savePage(page))
                return false;
            m_pageChanges[page]->markClean();
        }
        return true;
    });
    changes->setDirtyCheck([this] {
        return std::any_of(m_pageChanges.cbegin(), m_pageChanges.cend(),
                           [](const UnsavedChanges *c) { return c->isDirty(); });
    });
}

// --- pages ------------------------------------------------------------------------

QWidget *WorkstationScreen::buildOptionsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PageOptions"));

    auto *lockers = new QGroupBox(QStringLiteral("사물함 사용여부"), page);
    m_chk4 = new QCheckBox(QStringLiteral("사물함 사용함"), lockers);
    m_chk4->setObjectName(QStringLiteral("Chk4"));
    (new QHBoxLayout(lockers))->addWidget(m_chk4);

    auto *transfer = new QGroupBox(QStringLiteral("수강 양도/양수"), page);
    transfer->setObjectName(QStringLiteral("Opt5"));
    m_opt5Off = new QRadioButton(QStringLiteral("사용안함"), transfer);
    m_opt5Off->setObjectName(QStringLiteral("Opt5_0"));
    m_opt5On = new QRadioButton(QStringLiteral("사용함"), transfer);
    m_opt5On->setObjectName(QStringLiteral("Opt5_1"));
    auto *tl = new QHBoxLayout(transfer);
    tl->addWidget(m_opt5Off);
    tl->addWidget(m_opt5On);
    tl->addStretch();

    auto *entry = new QGroupBox(QStringLiteral("일일입장"), page);
    m_cob6 = combo(entry, "Cob6",
                   {QStringLiteral("1.일일  1회만 입장"), QStringLiteral("2.일일  2회만 입장"),
                    QStringLiteral("3.입장횟수제한없음"), QStringLiteral("4.퇴실 체크함")});
    m_cob8 = combo(entry, "Cob8",
                   {QStringLiteral("0.입장가능요일만 입장가능"), QStringLiteral("1.입장요일 체크안함"),
                    QStringLiteral("2.입장가능여부 선택")});
    auto *el = new QGridLayout(entry);
    el->addWidget(new QLabel(QStringLiteral("입장횟수"), entry), 0, 0);
    el->addWidget(m_cob6, 0, 1);
    el->addWidget(new QLabel(QStringLiteral("입장요일체크"), entry), 1, 0);
    el->addWidget(m_cob8, 1, 1);
    el->setColumnStretch(2, 1);

    auto *points = new QGroupBox(QStringLiteral("포인트적립"), page);
    m_txt71 = textField(points, QStringLiteral("Txt71"), 6, 60, FieldWidth::Fixed);
    m_txt71->setAlignment(Qt::AlignRight);
    auto *pl = new QGridLayout(points);
    pl->addWidget(new QLabel(QStringLiteral("매출금액의"), points), 0, 0);
    pl->addWidget(m_txt71, 0, 1);
    pl->addWidget(new QLabel(QStringLiteral("%"), points), 0, 2);
    pl->addWidget(hint(QStringLiteral(".포인트적립을 사용하지 않을려면 0 을 입력하세요"), points), 0, 3);
    pl->setColumnStretch(3, 1);

    auto *card = new QGroupBox(QStringLiteral("회원카드"), page);
    m_txt2 = textField(card, QStringLiteral("Txt2"), 2, 50, FieldWidth::Fixed);
    m_txt2->setAlignment(Qt::AlignRight);
    auto *cl = new QHBoxLayout(card);
    cl->addWidget(m_txt2);
    cl->addWidget(new QLabel(QStringLiteral("자리수"), card));
    cl->addStretch();

    auto *receipt = new QGroupBox(QStringLiteral("수강영수증 발행"), page);
    m_cob3 = combo(receipt, "Cob3",
                   {QStringLiteral("0.발행안함"), QStringLiteral("1.1매 발행"), QStringLiteral("2.2매 발행")});
    auto *rl = new QHBoxLayout(receipt);
    rl->addWidget(new QLabel(QStringLiteral("발행유형"), receipt));
    rl->addWidget(m_cob3);
    rl->addStretch();

    auto *refund = new QGroupBox(QStringLiteral("수강료환불시 차감요율"), page);
    m_txt11 = textField(refund, QStringLiteral("Txt11"), 3, 60, FieldWidth::Fixed);
    m_txt12 = textField(refund, QStringLiteral("Txt12"), 3, 60, FieldWidth::Fixed);
    m_txt11->setAlignment(Qt::AlignRight);
    m_txt12->setAlignment(Qt::AlignRight);
    auto *fl = new QHBoxLayout(refund);
    fl->addWidget(new QLabel(QStringLiteral("현금"), refund));
    fl->addWidget(m_txt11);
    fl->addWidget(new QLabel(QStringLiteral("%"), refund));
    fl->addSpacing(24);
    fl->addWidget(new QLabel(QStringLiteral("신용카드"), refund));
    fl->addWidget(m_txt12);
    fl->addWidget(new QLabel(QStringLiteral("%"), refund));
    fl->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addWidget(lockers, 0, 0);
    grid->addWidget(transfer, 0, 1);
    grid->addWidget(entry, 1, 0, 1, 2);
    grid->addWidget(points, 2, 0, 1, 2);
    grid->addWidget(card, 3, 0);
    grid->addWidget(receipt, 3, 1);
    grid->addWidget(refund, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget *WorkstationScreen::buildWorkstationPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PageWorkstation"));

    auto *pos = new QGroupBox(QStringLiteral("POS 정보"), page);
    m_pcName = textField(pos, QStringLiteral("TxtPcname"), 30, 200, FieldWidth::Fixed);
    m_posName = textField(pos, QStringLiteral("TxtPosName"), 20, 200, FieldWidth::Fixed);
    m_posNo = textField(pos, QStringLiteral("TxtPosNo"), 4, 60, FieldWidth::Fixed);
    m_posNo->setReadOnly(true);
    m_posNo->setFocusPolicy(Qt::NoFocus);
    m_posNo->setAlignment(Qt::AlignRight);
    m_command1 = new QPushButton(QStringLiteral("이 컴퓨터"), pos);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setToolTip(QStringLiteral("이 컴퓨터의 이름을 넣습니다."));
    auto *pg = new QGridLayout(pos);
    pg->addWidget(new QLabel(QStringLiteral("컴퓨터이름"), pos), 0, 0);
    pg->addWidget(m_pcName, 0, 1);
    pg->addWidget(m_command1, 0, 2, Qt::AlignLeft);
    pg->addWidget(new QLabel(QStringLiteral("POS 명칭"), pos), 1, 0);
    pg->addWidget(m_posName, 1, 1);
    pg->addWidget(hint(QStringLiteral("( 예 : 안내데스크,프론트 )"), pos), 1, 2);
    pg->addWidget(new QLabel(QStringLiteral("POS 번호"), pos), 2, 0);
    pg->addWidget(m_posNo, 2, 1, Qt::AlignLeft);
    pg->setColumnStretch(3, 1);

    auto *reader = new QGroupBox(QStringLiteral("카드리더기"), page);
    m_chkCardReader = new QCheckBox(QStringLiteral("카드리더기사용"), reader);
    m_chkCardReader->setObjectName(QStringLiteral("ChkCardreader"));
    m_cardType = combo(reader, "CobCardType", {QStringLiteral("0.사용안함"), QStringLiteral("1.Usb/Keboard")});
    m_cardPort = combo(reader, "CobCardPort", portItems());
    auto *rg = new QGridLayout(reader);
    rg->addWidget(m_chkCardReader, 0, 0, 1, 2);
    rg->addWidget(new QLabel(QStringLiteral("TYPE"), reader), 1, 0);
    rg->addWidget(m_cardType, 1, 1);
    rg->addWidget(new QLabel(QStringLiteral("PORT"), reader), 2, 0);
    rg->addWidget(m_cardPort, 2, 1);
    rg->setColumnStretch(2, 1);

    auto *printer = new QGroupBox(QStringLiteral("POS프린터기"), page);
    m_chkPosPrint = new QCheckBox(QStringLiteral("사용"), printer);
    m_chkPosPrint->setObjectName(QStringLiteral("ChkPosPrint"));
    m_printType = combo(printer, "CobPrintType",
                        {QStringLiteral("1.Serial"), QStringLiteral("2.Parallel"), QStringLiteral("3.드라이버")});
    m_printPort = combo(printer, "CobPrintPort", portItems());
    auto *prg = new QGridLayout(printer);
    prg->addWidget(m_chkPosPrint, 0, 0, 1, 2);
    prg->addWidget(new QLabel(QStringLiteral("TYPE"), printer), 1, 0);
    prg->addWidget(m_printType, 1, 1);
    prg->addWidget(new QLabel(QStringLiteral("PORT"), printer), 2, 0);
    prg->addWidget(m_printPort, 2, 1);
    prg->setColumnStretch(2, 1);

    auto *grid = new QGridLayout(page);
    grid->addWidget(pos, 0, 0, 1, 2);
    grid->addWidget(reader, 1, 0);
    grid->addWidget(printer, 1, 1);
    grid->addWidget(hint(QStringLiteral("이 컴퓨터의 카드리더기와 영수증 프린터 설정입니다. "
                                        "컴퓨터마다 따로 저장됩니다."),
                         page),
                    2, 0, 1, 2);
    grid->setRowStretch(3, 1);

    connect(m_command1, &QPushButton::clicked, this, &WorkstationScreen::fillThisComputer);
    return page;
}

QWidget *WorkstationScreen::buildNetworkPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PageNetwork"));

    m_networkNote = new QLabel(page);
    m_networkNote->setObjectName(QStringLiteral("LblNetworkNote"));
    m_networkNote->setWordWrap(true);
    m_networkNote->setStyleSheet(QStringLiteral("color: #a33; font-weight: bold;"));

    m_networkFields = new QWidget(page);
    m_pwd = textField(m_networkFields, QStringLiteral("TxtPwd"), 40, 160, FieldWidth::Fixed);
    m_pwd->setEchoMode(QLineEdit::Password);

    auto *role = new QGroupBox(QStringLiteral("이 컴퓨터의 역할"), m_networkFields);
    role->setObjectName(QStringLiteral("Opt1"));
    m_opt1Server = new QRadioButton(QStringLiteral("서버로 설정"), role);
    m_opt1Server->setObjectName(QStringLiteral("Opt1_0"));
    m_opt1Client = new QRadioButton(QStringLiteral("클라이언트로 설정"), role);
    m_opt1Client->setObjectName(QStringLiteral("Opt1_1"));
    auto *rl = new QVBoxLayout(role);
    rl->addWidget(m_opt1Server);
    rl->addWidget(hint(QStringLiteral("      이 컴퓨터의 설치폴더(%1)가 공유 자료폴더가 됩니다.\n"
                                      "      다른 컴퓨터에서 이 폴더를 네트워크로 연결하여 사용합니다.")
                           .arg(QDir::toNativeSeparators(m_ui.app.paths.installDir)),
                       role));
    rl->addWidget(m_opt1Client);
    rl->addWidget(hint(QStringLiteral("      서버 컴퓨터의 공유 자료폴더(연결된 네트워크 폴더)를 선택합니다."), role));

    m_serverPath = textField(m_networkFields, QStringLiteral("TxtServerPath"), 255, 0, FieldWidth::Fixed);
    m_cmdPath = new QPushButton(QStringLiteral("찾기..."), m_networkFields);
    m_cmdPath->setObjectName(QStringLiteral("Cmd경로"));

    auto *current = hint(QStringLiteral("현재 자료폴더: %1")
                             .arg(QDir::toNativeSeparators(m_ui.app.paths.serverPath)),
                         m_networkFields);
    current->setObjectName(QStringLiteral("LblCurrentPath"));
    current->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *fg = new QGridLayout(m_networkFields);
    fg->setContentsMargins(0, 0, 0, 0);
    fg->addWidget(new QLabel(QStringLiteral("설정비밀번호"), m_networkFields), 0, 0);
    fg->addWidget(m_pwd, 0, 1, Qt::AlignLeft);
    fg->addWidget(role, 1, 0, 1, 3);
    fg->addWidget(new QLabel(QStringLiteral("공유폴더"), m_networkFields), 2, 0);
    fg->addWidget(m_serverPath, 2, 1);
    fg->addWidget(m_cmdPath, 2, 2);
    fg->addWidget(current, 3, 0, 1, 3);
    fg->setColumnStretch(1, 1);

    auto *advice = new QLabel(QStringLiteral("※ 여러 대의 컴퓨터가 함께 사용하는 센터는 공유폴더 방식보다 "
                                             "PostgreSQL 서버 방식(설정파일 [DATABASE] Type=SQL)이 더 안정적이고 "
                                             "빠릅니다. 설정을 바꾼 후에는 프로그램을 다시 시작해야 합니다."),
                              page);
    advice->setObjectName(QStringLiteral("LblPostgresAdvice"));
    advice->setWordWrap(true);
    advice->setStyleSheet(QStringLiteral("color: #24527a;"));

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_networkNote);
    layout->addWidget(m_networkFields);
    layout->addWidget(advice);
    layout->addStretch();

    connect(m_cmdPath, &QPushButton::clicked, this, &WorkstationScreen::chooseFolder);
    return page;
}

// --- loading ----------------------------------------------------------------------

void WorkstationScreen::loadOptions()
{
    const std::optional<OptionsForm> f =
        guard(m_ui, DbAction::Read, [&] { return loadOptionsForm(m_ui.app.main); }).value_or(std::nullopt);
    if (!f) {
        m_opt5On->setChecked(true);
        return;
    }
    m_chk4->setChecked(f->lockers);
    selectCode(m_cob6, f->checkinCode);
    selectCode(m_cob8, f->weekdayCode);
    selectCode(m_cob3, f->receiptCode);
    m_txt71->setText(f->pointRate);
    m_txt2->setText(f->cardDigits);
    (f->transfer ? m_opt5On : m_opt5Off)->setChecked(true);
    m_txt11->setText(f->refundCash);
    m_txt12->setText(f->refundCard);
}

void WorkstationScreen::loadWorkstation()
{
    const QString pc = m_ui.app.pcName.isEmpty() ? getPcName() : m_ui.app.pcName;
    const std::optional<WorkstationForm> f =
        guard(m_ui, DbAction::Read, [&] { return loadWorkstationForm(m_ui.app.main, pc); }).value_or(std::nullopt);
    if (!f) {
        m_pcName->setText(pc);
        m_chkCardReader->setChecked(false);
        m_chkPosPrint->setChecked(false);
        return;
    }
    m_posNo->setText(QString::number(f->posNo));
    m_posName->setText(f->posName);
    m_pcName->setText(f->pcName);
    m_chkCardReader->setChecked(f->cardReader);
    selectCode(m_cardType, f->cardType);
    selectCode(m_cardPort, f->cardPort);
    m_chkPosPrint->setChecked(f->posPrint);
    selectCode(m_printType, f->printType);
    selectCode(m_printPort, f->printPort);
}

void WorkstationScreen::loadNetwork()
{
    const IniFile ini(m_ui.app.paths.iniFile);
    m_networkEnabled = settingsPasswordConfigured(ini);
    m_networkFields->setEnabled(m_networkEnabled);
    m_networkNote->setVisible(!m_networkEnabled);
    m_networkNote->setText(QStringLiteral("설정비밀번호가 등록되어 있지 않아 네트웍 설정을 사용할 수 없습니다.\n"
                                          "관리자가 'fitrova --settings-password' 명령으로 등록하여 주십시요."));
    const QString serverPath = QDir::cleanPath(m_ui.app.paths.serverPath);
    const bool isServer = serverPath == QDir::cleanPath(m_ui.app.paths.installDir);
    (isServer ? m_opt1Server : m_opt1Client)->setChecked(true);
    if (!isServer)
        m_serverPath->setText(m_ui.app.paths.serverPath);
}

// --- saving -----------------------------------------------------------------------

void WorkstationScreen::focusField(const QString &objectName)
{
    if (objectName.isEmpty())
        return;
    if (auto *w = findChild<QWidget *>(objectName)) {
        w->setFocus();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->selectAll();
    }
}

bool WorkstationScreen::save()
{
    const int page = m_tab->currentIndex();
    const bool saved = savePage(page);
    if (saved && page < m_pageChanges.size())
        m_pageChanges[page]->markClean();
    return saved;
}

bool WorkstationScreen::savePage(int page)
{
    switch (page) {
    case OptionsPage:
        return saveOptions();
    case WorkstationPage:
        return saveWorkstation();
    case NetworkPage:
        return saveNetwork();
    }
    return false;
}

bool WorkstationScreen::saveOptions()
{
    OptionsForm f;
    f.refundCash = m_txt11->text();
    f.refundCard = m_txt12->text();
    f.cardDigits = m_txt2->text();
    f.pointRate = m_txt71->text();
    f.receiptCode = codeOf(m_cob3);
    f.checkinCode = codeOf(m_cob6);
    f.weekdayCode = codeOf(m_cob8);
    f.lockers = m_chk4->isChecked();
    f.transfer = m_opt5On->isChecked();
    const auto refusal = guard(m_ui, DbAction::Save, [&] { return fitrova::saveOptions(m_ui.app, f); });
    if (!refusal)
        return false;
    if (*refusal) {
        m_ui.msg.warn((*refusal)->text, (*refusal)->title);
        focusField((*refusal)->field);
        return false;
    }
    m_ui.msg.info(u(kSavedText), u(kSaveTitle));
    return true;
}

bool WorkstationScreen::saveWorkstation()
{
    WorkstationForm f;
    f.pcName = m_pcName->text();
    f.posName = m_posName->text();
    f.cardReader = m_chkCardReader->isChecked();
    f.cardType = codeOf(m_cardType);
    f.cardPort = codeOf(m_cardPort);
    f.posPrint = m_chkPosPrint->isChecked();
    f.printType = codeOf(m_printType);
    f.printPort = codeOf(m_printPort);
    const auto saved = guard(m_ui, DbAction::Save, [&] { return fitrova::saveWorkstation(m_ui.app, f); });
    if (!saved)
        return false;
    const WorkstationSaveResult &r = *saved;
    if (r.refusal) {
        m_ui.msg.warn(r.refusal->text, r.refusal->title);
        focusField(r.refusal->field);
        return false;
    }
    m_posNo->setText(QString::number(r.posNo));
    m_ui.msg.info(u(kSavedText), u(kPosTitle));
    return true;
}

bool WorkstationScreen::saveNetwork()
{
    if (!m_networkEnabled) {
        m_ui.msg.warn(m_networkNote->text(), u(kNetworkTitle));
        return false;
    }
    const IniFile ini(m_ui.app.paths.iniFile);
    if (!checkSettingsPassword(ini, m_pwd->text())) {
        m_ui.msg.warn(u(kSettingsPasswordWrongText), u(kNetworkTitle));
        focusField(QStringLiteral("TxtPwd"));
        return false;
    }

    const NetworkRole role = m_opt1Server->isChecked() ? NetworkRole::Server : NetworkRole::Client;
    const bool server = role == NetworkRole::Server;
    const QString title = u(server ? kServerAskTitle : kClientAskTitle);
    const QString folder = networkFolderFor(m_ui.app, role, m_serverPath->text());
    if (!server && folder.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("공유폴더를 선택하여 주십시요."), title);
        focusField(QStringLiteral("TxtServerPath"));
        return false;
    }
    if (!m_ui.msg.ask(u(server ? kServerAskText : kClientAskText), title))
        return false;
    if (const auto refusal = checkNetworkFolder(m_ui.app, role, folder)) {
        m_ui.msg.warn(refusal->text, refusal->title);
        focusField(refusal->field);
        return false;
    }
    {
        WaitCursor busy;
        if (!writeServerPath(m_ui.app, folder)) {
            m_ui.msg.warn(QStringLiteral("설정파일에 쓸 수 없습니다.\n%1").arg(QDir::toNativeSeparators(ini.path())),
                          title);
            return false;
        }
    }
    m_ui.msg.info(u(server ? kServerDoneText : kClientDoneText), title);
    if (m_endProgram)
        m_endProgram();
    return true;
}

void WorkstationScreen::fillThisComputer()
{
    m_pcName->setText(getPcName());
    m_posName->setText(QStringLiteral("프론트"));
}

void WorkstationScreen::chooseFolder()
{
    const QString start = m_serverPath->text().trimmed().isEmpty() ? QDir::homePath() : m_serverPath->text().trimmed();
    const QString dir = QFileDialog::getExistingDirectory(
        this, QStringLiteral(" 공유폴더 - ") + QLatin1String(kProductWord) + QStringLiteral(" 를 선택해주세요 "), start);
    if (!dir.isEmpty())
        m_serverPath->setText(QDir::toNativeSeparators(dir));
}

} // namespace fitrova
