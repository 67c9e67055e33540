#include "members/ui/memberscreen.h"

#include "data/attendance.h"
#include "data/dates.h"
#include "data/ledger.h"
#include "data/listitems.h"
#include "data/text.h"
#include "enrollment/waitlist.h"
#include "members/lecturedelete.h"
#include "members/residentnumber.h"
#include "members/ui/batchquerydialog.h"
#include "members/ui/capturedialog.h"
#include "members/ui/memberphoto.h"
#include "members/ui/memberpickdialog.h"
#include "members/ui/memberui.h"
#include "members/ui/postlookupdialog.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/morerows.h"
#include "widgets/residentedit.h"
#include "widgets/unsavedchanges.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace fitrova {

namespace {

const QString kNotFoundText = QStringLiteral("해당회원을 찾을수 없읍니다.신규등록 하시겠읍니까?");
const QString kNotFoundTitle = QStringLiteral("회원찾기");
const QString kSelectFirst = QStringLiteral("회원을 먼저 선택하세요");
const QString kAskDeleteRow = QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?");
const QString kDeleteTitle = QStringLiteral("자료삭제");

QColor toneColor(HistoryTone t)
{
    switch (t) {
    case HistoryTone::Enrolled: return {};
    case HistoryTone::Received: return QColor(0xE6, 0xF4, 0xEA);
    case HistoryTone::Changed: return QColor(0xE3, 0xEE, 0xFB);
    case HistoryTone::Postponed: return QColor(0xFF, 0xF6, 0xD6);
    case HistoryTone::Refunded: return QColor(0xFD, 0xE7, 0xE9);
    case HistoryTone::Payment: return QColor(0xF1, 0xE8, 0xF7);
    case HistoryTone::Goods: return QColor(0xEF, 0xEF, 0xEF);
    }
    return {};
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, int stretchIndex = -1)
{
    auto *h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(3);
    int i = 0;
    for (QWidget *w : widgets)
        h->addWidget(w, i++ == stretchIndex ? 1 : 0);
    return h;
}

} // namespace

MemberScreen::MemberScreen(UiContext &ui, QWidget *parent, MemberScreenHooks hooks)
    : QWidget(parent), m_ui(ui), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("회원접수"));
    setWindowTitle(QStringLiteral("회원접수"));
    buildUi();
    connectUi();
    fillLists();
    m_unsaved = new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    m_unsaved->ignore(m_find);
    m_unsaved->ignore(m_kind);
    clearScreen();
}

MemberScreen::~MemberScreen() = default;

// --- building -----------------------------------------------------------------------

// 사물함: the member's locker rental screens, and the locker lists.
QPushButton *MemberScreen::lockerButton()
{
    auto *button = commandButton(this, QStringLiteral("Cmd사물함"), QStringLiteral("사물함 ▾"), 72);
    auto *menu = new QMenu(button);
    const auto item = [this, menu](const QString &screen, const QString &text, bool forMember) {
        QAction *a = menu->addAction(text);
        a->setObjectName(screen);
        connect(a, &QAction::triggered, this, [this, screen, text, forMember] {
            if (!forMember) {
                m_ui.openScreen(screen);
            } else if (!m_loaded) {
                m_ui.msg.info(kSelectFirst, text);
            } else {
                m_ui.openScreen(screen, {{QStringLiteral("MbCode"), m_member.mbCode}});
            }
        });
    };
    item(QStringLiteral("사물함신청"), QStringLiteral("사물함 신청"), true);
    item(QStringLiteral("사물함재등록"), QStringLiteral("사물함 재등록"), true);
    item(QStringLiteral("사물함수정"), QStringLiteral("사물함 수정"), true);
    item(QStringLiteral("사물함변경"), QStringLiteral("사물함 변경"), true);
    item(QStringLiteral("사물함취소"), QStringLiteral("사물함 취소"), true);
    menu->addSeparator();
    item(QStringLiteral("사물함현황"), QStringLiteral("사물함 현황"), false);
    item(QStringLiteral("사물함대여현황"), QStringLiteral("사물함 대여현황"), false);
    item(QStringLiteral("사물함신청현황"), QStringLiteral("사물함 신청현황"), false);
    item(QStringLiteral("사물함코드등록"), QStringLiteral("사물함코드 등록"), false);
    item(QStringLiteral("사물함번호생성"), QStringLiteral("사물함번호 생성"), false);
    button->setMenu(menu);
    // Centres without lockers (UserOpt4 0) do not see it.
    button->setVisible(m_ui.app.options.opt4 != 0);
    return button;
}


void MemberScreen::buildUi()
{
    // Search bar and the card's commands.
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("Cob구분"));
    m_kind->addItems(memberSearchKindItems());
    m_find = textField(this, QStringLiteral("Txt찾기"), 14, 150);
    m_find->setPlaceholderText(QStringLiteral("이름, 전화, 회원번호, 카드"));
    // The hint is read whole, whatever the font.
    m_find->setFixedWidth(qMax(150, m_find->fontMetrics().horizontalAdvance(m_find->placeholderText()) + 24));
    QPushButton *cmdFind = commandButton(this, QStringLiteral("Cmd찾기"), QStringLiteral("회원검색"), 72);
    QPushButton *cmdBatch = commandButton(this, QStringLiteral("Cmd일괄조회"), QStringLiteral("일괄조회"), 72);
    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"), 60);
    QPushButton *cmdClear = commandButton(this, QStringLiteral("Cmd화면CLEAR"), QStringLiteral("화면CLEAR"), 72);
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"), 60);
    // Enter walks the card's inputs and ends here.
    cmdSave->setDefault(true);
    m_cmdDeleteMember = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("회원삭제"), 72);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 60);
    auto *searchBar = new QHBoxLayout;
    searchBar->addWidget(m_kind);
    searchBar->addWidget(m_find);
    searchBar->addWidget(cmdFind);
    searchBar->addWidget(cmdBatch);
    searchBar->addStretch();
    for (QPushButton *b : {cmdNew, cmdClear, cmdSave, m_cmdDeleteMember, cmdClose})
        searchBar->addWidget(b);

    // The card.
    m_code = textField(this, QStringLiteral("TxtMbCode"), 8, 76);
    m_code->setReadOnly(true);
    m_code->setFocusPolicy(Qt::NoFocus);
    m_code->setPlaceholderText(QStringLiteral("(신규)"));
    m_master = new QLabel(QStringLiteral("마스터"), this);
    m_master->setObjectName(QStringLiteral("Pnl마스터"));
    m_master->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_indate = textField(this, QStringLiteral("TxtIndate"), 10, 90);
    m_gubun = new QComboBox(this);
    m_gubun->setObjectName(QStringLiteral("Cob회원구분"));
    m_name = textField(this, QStringLiteral("TxtMbName"), 40, 120);
    // A longer name is cut to 40 characters; the clerk is told so.
    connect(m_name, &QLineEdit::inputRejected, this, [this] {
        if (m_name->text().size() >= m_name->maxLength())
            m_ui.msg.warn(QStringLiteral("회원명은 %1자까지 입력할 수 있습니다. %1자까지만 입력되었습니다.")
                              .arg(m_name->maxLength()),
                          QStringLiteral("회원명"));
    });
    setHangulMode(m_name, true);
    m_guardian = textField(this, QStringLiteral("TxtMbName1"), 40);
    m_card = textField(this, QStringLiteral("TxtMbCard"), 20);
    m_juno1 = textField(this, QStringLiteral("TxtJuno1"), 6, 62);
    m_juno1->setInputMask(QString());
    m_resident = new ResidentEdit(this, QStringLiteral("TxtJuno2"));
    m_resident->setMaxLength(7);
    m_resident->setFixedWidth(70);
    m_resident->setRevealAllowed(m_ui.app.user.grCode == QLatin1String("1"));
    m_juno2 = m_resident;
    m_age = displayPanel(this, QStringLiteral("PnlAge"), 36);
    m_age->setAlignment(Qt::AlignCenter);
    m_sex = new QComboBox(this);
    m_sex->setObjectName(QStringLiteral("Cob성별"));
    m_sex->addItems({QStringLiteral("1.남자"), QStringLiteral("2.여자")});
    m_birth = textField(this, QStringLiteral("TxtBirthDay"), 10, 90);
    m_solor = new QComboBox(this);
    m_solor->setObjectName(QStringLiteral("Cob양음"));
    m_solor->addItems({QStringLiteral("1.양력"), QStringLiteral("2.음력")});
    m_tel1 = textField(this, QStringLiteral("TxtTel1"), 20);
    m_tel2 = textField(this, QStringLiteral("TxtTel2"), 20);
    m_email = textField(this, QStringLiteral("TxtEmail"), 60);
    m_postNo = textField(this, QStringLiteral("TxtPostNo"), 7, 64);
    m_postNo->setMaximumWidth(70);
    QPushButton *cmdPost = commandButton(this, QStringLiteral("Cmd우편번호"), QStringLiteral("…"), 26);
    cmdPost->setMaximumWidth(30);
    cmdPost->setToolTip(QStringLiteral("우편번호조회"));
    m_addr1 = textField(this, QStringLiteral("TxtAddr1"), 0, 180);
    m_addr1->setPlaceholderText(QStringLiteral("동 이름을 입력하고 Enter"));
    setHangulMode(m_addr1, true);
    m_addr2 = textField(this, QStringLiteral("TxtAddr2"), 0);
    m_ext = textField(this, QStringLiteral("TxtExt"), 0);
    m_dm = new QCheckBox(QStringLiteral("DM 수신"), this);
    m_dm->setObjectName(QStringLiteral("ChkDm"));
    m_sms = new QCheckBox(QStringLiteral("SMS 수신"), this);
    m_sms->setObjectName(QStringLiteral("ChkSms"));
    m_misu = textField(this, QStringLiteral("TxtMisuAmt"), 0, 90);
    m_misu->setReadOnly(true);
    m_misu->setFocusPolicy(Qt::NoFocus);
    m_misu->setAlignment(Qt::AlignRight);
    m_point = displayPanel(this, QStringLiteral("Pnl마일리지"), 80);
    m_point->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lastDate = displayPanel(this, QStringLiteral("Pnl최종방문일"), 86);
    m_lastTime = displayPanel(this, QStringLiteral("Pnl최종방문시간"), 46);
    m_course = displayPanel(this, QStringLiteral("Pnl현수강과목"), 160);
    m_remain = displayPanel(this, QStringLiteral("Pnl잔여일"), 80);

    auto *card = new QGridLayout;
    card->setHorizontalSpacing(6);
    card->setVerticalSpacing(4);
    card->addWidget(caption(this, QStringLiteral("회원번호")), 0, 0);
    card->addLayout(row({m_code, m_master}, 0), 0, 1);
    card->addWidget(caption(this, QStringLiteral("등록일자")), 0, 2);
    card->addWidget(m_indate, 0, 3);
    card->addWidget(caption(this, QStringLiteral("회원구분")), 0, 4);
    card->addWidget(m_gubun, 0, 5);

    auto *nameCap = caption(this, QStringLiteral("* 회 원 명"));
    nameCap->setStyleSheet(QStringLiteral("color: #0030a0; font-weight: bold;"));
    card->addWidget(nameCap, 1, 0);
    card->addWidget(m_name, 1, 1);
    card->addWidget(caption(this, QStringLiteral("보호자명")), 1, 2);
    card->addWidget(m_guardian, 1, 3);
    card->addWidget(caption(this, QStringLiteral("카드번호")), 1, 4);
    card->addWidget(m_card, 1, 5);

    auto *dash = new QLabel(QStringLiteral("-"), this);
    card->addWidget(caption(this, QStringLiteral("주민번호")), 2, 0);
    card->addLayout(row({m_juno1, dash, m_juno2}, 2), 2, 1);
    card->addWidget(caption(this, QStringLiteral("나이/성별")), 2, 2);
    card->addLayout(row({m_age, m_sex}, 1), 2, 3);
    card->addWidget(caption(this, QStringLiteral("생년월일")), 2, 4);
    card->addLayout(row({m_birth, m_solor}, 0), 2, 5);

    card->addWidget(caption(this, QStringLiteral("휴 대 폰")), 3, 0);
    card->addWidget(m_tel1, 3, 1);
    card->addWidget(caption(this, QStringLiteral("일반전화")), 3, 2);
    card->addWidget(m_tel2, 3, 3);
    card->addWidget(caption(this, QStringLiteral("이 메 일")), 3, 4);
    card->addWidget(m_email, 3, 5);

    card->addWidget(caption(this, QStringLiteral("주    소")), 4, 0);
    card->addLayout(row({m_postNo, cmdPost, m_addr1}, 2), 4, 1, 1, 3);
    card->addWidget(caption(this, QStringLiteral("상세주소")), 4, 4);
    card->addWidget(m_addr2, 4, 5);

    card->addWidget(caption(this, QStringLiteral("비    고")), 5, 0);
    card->addWidget(m_ext, 5, 1, 1, 3);
    card->addWidget(caption(this, QStringLiteral("수신여부")), 5, 4);
    card->addLayout(row({m_dm, m_sms}), 5, 5);

    card->addWidget(caption(this, QStringLiteral("미 납 금")), 6, 0);
    card->addWidget(m_misu, 6, 1);
    card->addWidget(caption(this, QStringLiteral("포 인 트")), 6, 2);
    card->addWidget(m_point, 6, 3);
    card->addWidget(caption(this, QStringLiteral("최종방문")), 6, 4);
    card->addLayout(row({m_lastDate, m_lastTime}, 0), 6, 5);

    card->addWidget(caption(this, QStringLiteral("현수업과목")), 7, 0);
    card->addWidget(m_course, 7, 1, 1, 3);
    card->addWidget(caption(this, QStringLiteral("잔여일(시간)")), 7, 4);
    card->addWidget(m_remain, 7, 5);
    card->setColumnStretch(1, 3);
    card->setColumnStretch(3, 3);
    card->setColumnStretch(5, 3);

    // The photo.
    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("Img"));
    m_photo->setFixedSize(112, 140);
    m_photo->setFrameShape(QFrame::Panel);
    m_photo->setFrameShadow(QFrame::Sunken);
    m_photo->setAlignment(Qt::AlignCenter);
    QPushButton *cmdCapture = commandButton(this, QStringLiteral("Cmd촬영"), QStringLiteral("사진촬영"), 54);
    QPushButton *cmdLoad = commandButton(this, QStringLiteral("Cmd불러오기"), QStringLiteral("불러오기"), 54);
    QPushButton *cmdPhotoDel = commandButton(this, QStringLiteral("Cmd사진삭제"), QStringLiteral("사진삭제"), 54);
    auto *photoCol = new QVBoxLayout;
    photoCol->setSpacing(3);
    photoCol->addWidget(m_photo, 0, Qt::AlignHCenter);
    photoCol->addWidget(cmdCapture);
    photoCol->addLayout(row({cmdLoad, cmdPhotoDel}));
    photoCol->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(card, 1);
    top->addSpacing(6);
    top->addLayout(photoCol);

    // Enrollment commands.
    m_cmdEnroll = commandButton(this, QStringLiteral("Cmd수강등록"), QStringLiteral("수강등록"), 72);
    m_cmdModify = commandButton(this, QStringLiteral("Cmd수강수정"), QStringLiteral("수강수정"), 72);
    m_cmdChange = commandButton(this, QStringLiteral("Cmd반변경"), QStringLiteral("반변경"), 72);
    m_cmdTransfer = commandButton(this, QStringLiteral("Cmd양도신청"), QStringLiteral("양도신청"), 72);
    m_cmdPostpone = commandButton(this, QStringLiteral("Cmd수강연기"), QStringLiteral("수강연기"), 72);
    m_cmdRefund = commandButton(this, QStringLiteral("Cmd수강환불"), QStringLiteral("수강환불"), 72);
    m_cmdPay = commandButton(this, QStringLiteral("Cmd미수입금"), QStringLiteral("미수입금"), 72);
    m_cmdDeleteRow = commandButton(this, QStringLiteral("Cmd강좌삭제"), QStringLiteral("강좌삭제"), 72);
    auto *lectBar = new QHBoxLayout;
    for (QPushButton *b : {m_cmdEnroll, m_cmdModify, m_cmdChange, m_cmdTransfer, m_cmdPostpone, m_cmdRefund, m_cmdPay})
        lectBar->addWidget(b);
    lectBar->addSpacing(8);
    lectBar->addWidget(lockerButton());
    lectBar->addStretch();
    lectBar->addWidget(m_cmdDeleteRow);

    // History, visits, points.
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tab"));
    m_lect = new DataGrid(this);
    m_lect->setObjectName(QStringLiteral("SpLect"));
    m_lect->setColumns(historyHeaders(), {36, 56, 86, 180, 34, 34, 86, 86, 66, 66, 66, 48, 120});
    for (int c : {int(HcHours), int(HcMonths), int(HcAmount), int(HcCash), int(HcCard), int(HcRemain)})
        m_lect->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {int(HcCategory), int(HcState), int(HcRqDate), int(HcStart), int(HcEnd)})
        m_lect->setColumnAlignment(c, Qt::AlignCenter);
    m_tabs->addTab(m_lect, QStringLiteral("수강내역"));

    auto *enterPage = new QWidget(this);
    m_enter = new DataGrid(enterPage);
    m_enter->setObjectName(QStringLiteral("SpEnter"));
    m_enter->setColumns(attendanceHeaders(), {86, 150, 60, 60, 60, 70, 70, 80, 90});
    m_enter->setHeaderSorting(false); // newest first, a page at a time
    m_enterMore = new MoreRowsBar(m_enter, QStringLiteral("Enter"), enterPage);
    connect(m_enterMore, &MoreRowsBar::moreRequested, this, &MemberScreen::showMoreVisits);
    m_year = new QComboBox(enterPage);
    m_year->setObjectName(QStringLiteral("CobYY1"));
    m_month = new QComboBox(enterPage);
    m_month->setObjectName(QStringLiteral("CobMM1"));
    for (int mth = 1; mth <= 12; ++mth)
        m_month->addItem(twoDigits(mth), mth);
    m_calendar = new DataGrid(enterPage);
    m_calendar->setObjectName(QStringLiteral("Sp달력"));
    m_calendar->setColumns({QStringLiteral("일"), QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"),
                            QStringLiteral("목"), QStringLiteral("금"), QStringLiteral("토")},
                           {30, 30, 30, 30, 30, 30, 30});
    m_calendar->setHeaderSorting(false);
    m_calendar->verticalHeader()->hide();
    m_calendar->setFixedWidth(7 * 30 + 4);
    for (int c = 0; c < 7; ++c)
        m_calendar->setColumnAlignment(c, Qt::AlignCenter);
    auto *calCol = new QVBoxLayout;
    calCol->addLayout(row({new QLabel(QStringLiteral("출석부"), enterPage), m_year, m_month}, 0));
    calCol->addWidget(m_calendar, 1);
    auto *enterLay = new QHBoxLayout(enterPage);
    enterLay->setContentsMargins(0, 0, 0, 0);
    auto *enterCol = new QVBoxLayout;
    enterCol->addWidget(m_enter, 1);
    enterCol->addWidget(m_enterMore);
    enterLay->addLayout(enterCol, 1);
    enterLay->addLayout(calCol);
    m_tabs->addTab(enterPage, QStringLiteral("출석정보"));

    auto *pointPage = new QWidget(this);
    m_points = new DataGrid(pointPage);
    m_points->setObjectName(QStringLiteral("SpPoint"));
    m_points->setColumns(pointHeaders(), {50, 86, 240, 90, 80, 80, 90});
    for (int c = 3; c <= 6; ++c)
        m_points->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    m_points->setHeaderSorting(false); // the running total reads in ledger order
    m_cmdDeletePoint = commandButton(pointPage, QStringLiteral("Cmd포인트삭제"), QStringLiteral("포인트삭제"), 72);
    auto *pointLay = new QHBoxLayout(pointPage);
    pointLay->setContentsMargins(0, 0, 0, 0);
    pointLay->addWidget(m_points, 1);
    auto *pointCmds = new QVBoxLayout;
    pointCmds->addWidget(m_cmdDeletePoint);
    pointCmds->addStretch();
    pointLay->addLayout(pointCmds);
    m_tabs->addTab(pointPage, QStringLiteral("포인트내역"));

    auto *waitPage = new QWidget(this);
    m_waits = new DataGrid(waitPage);
    m_waits->setObjectName(QStringLiteral("SpWait"));
    m_waits->setColumns({QStringLiteral("대기순번"), QStringLiteral("강좌명"), QStringLiteral("대기일자"),
                         QStringLiteral("비고")},
                        {70, 300, 90, 300});
    m_waits->setColumnAlignment(0, Qt::AlignCenter);
    m_waits->setColumnAlignment(2, Qt::AlignCenter);
    m_cmdWaitCancel = commandButton(waitPage, QStringLiteral("Cmd대기취소"), QStringLiteral("대기취소"), 72);
    auto *waitLay = new QHBoxLayout(waitPage);
    waitLay->setContentsMargins(0, 0, 0, 0);
    waitLay->addWidget(m_waits, 1);
    auto *waitCmds = new QVBoxLayout;
    waitCmds->addWidget(m_cmdWaitCancel);
    waitCmds->addStretch();
    waitLay->addLayout(waitCmds);
    m_waitTab = m_tabs->addTab(waitPage, QStringLiteral("대기강좌"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(5);
    outer->addLayout(searchBar);
    outer->addLayout(top);
    outer->addLayout(lectBar);
    outer->addWidget(m_tabs, 1);
    resize(1000, 640);

    // Field order for Enter and Tab.
    QWidget *order[] = {m_find, m_indate, m_gubun, m_name, m_guardian, m_card, m_juno1, m_juno2, m_sex, m_birth,
                        m_solor, m_tel1, m_tel2, m_email, m_postNo, m_addr1, m_addr2, m_ext, m_dm, m_sms,
                        findChild<QPushButton *>(QStringLiteral("Cmd저장"))};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    installEnterAsTab(this);
    excludeFromEnterAsTab(m_find);
    excludeFromEnterAsTab(m_addr1);
    installSelectAllOnFocus(this);

    // Commands wired here so that the buttons keep their names in one place.
    connect(cmdFind, &QPushButton::clicked, this, &MemberScreen::searchData);
    connect(cmdBatch, &QPushButton::clicked, this, [this] { openBatchQuery(); });
    connect(cmdNew, &QPushButton::clicked, this, &MemberScreen::newMember);
    connect(cmdClear, &QPushButton::clicked, this, &MemberScreen::clearScreen);
    connect(cmdSave, &QPushButton::clicked, this, [this] { save(); });
    connect(m_cmdDeleteMember, &QPushButton::clicked, this, &MemberScreen::deleteMember);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(cmdCapture, &QPushButton::clicked, this, &MemberScreen::takePhoto);
    connect(cmdLoad, &QPushButton::clicked, this, &MemberScreen::loadPhotoFromFile);
    connect(cmdPhotoDel, &QPushButton::clicked, this, &MemberScreen::deletePhoto);
    connect(cmdPost, &QPushButton::clicked, this, [this] {
        PostLookupDialog dlg(m_ui, true, m_addr1->text(), this);
        if (dlg.exec() == QDialog::Accepted && dlg.TF) {
            m_postNo->setText(dlg.postNo());
            m_addr1->setText(dlg.address());
            m_addr2->setFocus();
        }
    });
}

void MemberScreen::connectUi()
{
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        m_find->setMaxLength(memberSearchTextLimit(memberSearchKindOf(m_kind->currentText()), m_ui.app.options.opt2));
        m_find->setFocus();
    });
    connect(m_find, &QLineEdit::returnPressed, this, &MemberScreen::searchData);
    connect(m_addr1, &QLineEdit::returnPressed, this, [this] {
        if (m_addr1->text().trimmed().isEmpty())
            m_addr2->setFocus();
        else
            lookupAddress();
    });
    connect(m_juno2, &QLineEdit::editingFinished, this, &MemberScreen::checkResident);
    connect(m_indate, &QLineEdit::editingFinished, this, [this] {
        if (m_indate->isModified())
            normalizeDateField(m_indate, m_ui.app.clock().today(), m_ui.msg);
        m_indate->setModified(false);
    });
    connect(m_birth, &QLineEdit::editingFinished, this, [this] {
        if (m_birth->isModified())
            normalizeDateField(m_birth, m_ui.app.clock().today(), m_ui.msg);
        m_birth->setModified(false);
    });

    connect(m_cmdEnroll, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::Enrollment); });
    connect(m_cmdModify, &QPushButton::clicked, this, &MemberScreen::modifySelected);
    connect(m_cmdChange, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::ClassChange); });
    connect(m_cmdTransfer, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::Transfer); });
    connect(m_cmdPostpone, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::Postponement); });
    connect(m_cmdRefund, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::Refund); });
    connect(m_cmdPay, &QPushButton::clicked, this, [this] { startEnrollment(EnrollmentScreen::Payment); });
    connect(m_cmdDeleteRow, &QPushButton::clicked, this, &MemberScreen::deleteSelectedRow);
    connect(m_cmdDeletePoint, &QPushButton::clicked, this, &MemberScreen::deleteSelectedPoint);

    connect(m_lect, &DataGrid::currentRowChanged, this, [this] { updateButtons(); });
    connect(m_points, &DataGrid::currentRowChanged, this, [this] { updateButtons(); });
    connect(m_cmdWaitCancel, &QPushButton::clicked, this, [this] { cancelSelectedWait(); });
    auto calendarChanged = [this] {
        showCalendar(m_year->currentData().toInt(), m_month->currentData().toInt());
    };
    connect(m_year, &QComboBox::currentIndexChanged, this, calendarChanged);
    connect(m_month, &QComboBox::currentIndexChanged, this, calendarChanged);
}

void MemberScreen::fillLists()
{
    const QSignalBlocker block(m_year);
    const int y = m_ui.app.clock().today().year();
    m_year->clear();
    for (int year = y - 15; year <= y + 1; ++year)
        m_year->addItem(QString::number(year), year);
    if (const auto kinds = guard(m_ui, DbAction::Read, [&] { return memberKindItems(m_ui.app.main, false); }))
        fillCombo(m_gubun, *kinds);
}

void MemberScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded)
        m_find->setFocus();
}

// --- state ------------------------------------------------------------------------

const HistoryLine *MemberScreen::selectedLine() const
{
    const int row = m_lect->currentRow();
    if (row < 0)
        return nullptr;
    const int i = m_lect->rowKey(row).toInt();
    return i >= 0 && i < m_lines.size() ? &m_lines[i] : nullptr;
}

void MemberScreen::updateButtons()
{
    m_buttons = historyButtons(m_loaded, selectedLine(), m_ui.app.options.opt5 != 0);
    m_cmdEnroll->setEnabled(m_buttons.enroll);
    m_cmdModify->setEnabled(m_buttons.modify);
    m_cmdChange->setEnabled(m_buttons.classChange);
    m_cmdTransfer->setEnabled(m_buttons.transfer);
    m_cmdPostpone->setEnabled(m_buttons.postpone);
    m_cmdRefund->setEnabled(m_buttons.refund);
    m_cmdPay->setEnabled(m_buttons.payment);
    m_cmdDeleteRow->setEnabled(m_buttons.deleteRow);
    m_cmdDeletePoint->setEnabled(m_loaded && m_points->currentRow() >= 0);
}

// --- clearing and new members -------------------------------------------------------

void MemberScreen::clearInputs()
{
    for (QLineEdit *e : {m_code, m_name, m_guardian, m_card, m_juno1, m_juno2, m_birth, m_tel1, m_tel2, m_email,
                         m_postNo, m_addr1, m_addr2, m_ext, m_misu})
        e->clear();
    m_resident->setFullText(QString());
    m_indate->setText(fmtDate(m_ui.app.clock().today()));
    m_gubun->setCurrentIndex(m_gubun->count() > 0 ? 0 : -1);
    m_sex->setCurrentIndex(-1);
    m_solor->setCurrentIndex(0);
    const bool receive = m_ui.app.options.opt8[1] != 0;
    m_dm->setChecked(receive);
    m_sms->setChecked(receive);
    m_master->setVisible(false);
    for (QLabel *l : {m_age, m_point, m_lastDate, m_lastTime, m_course, m_remain})
        l->clear();
    m_photo->clear();
    m_lines.clear();
    m_lect->clearRows();
    m_enter->clearRows();
    m_visitNext = VisitCursor();
    m_visitTotal = m_visitsShown = 0;
    m_enterMore->clear();
    m_points->clearRows();
    m_waits->clearRows();
    m_tabs->setTabText(m_waitTab, QStringLiteral("대기강좌"));
}

void MemberScreen::showCalendarOfThisMonth()
{
    const QDate today = m_ui.app.clock().today();
    {
        const QSignalBlocker b1(m_year), b2(m_month);
        m_year->setCurrentIndex(m_year->findData(today.year()));
        m_month->setCurrentIndex(today.month() - 1);
    }
    showCalendar(today.year(), today.month());
}

void MemberScreen::enterNewMode()
{
    m_loaded = false;
    m_member = MemberRecord();
    clearInputs();
    // The number the new member will most likely get (it is taken at saving).
    m_code->setPlaceholderText(
        guardQuietly("the next number is a hint only", [&] { return nextMemberCode(m_ui.app.main); })
            .value_or(QStringLiteral("(신규)")));
    showCalendarOfThisMonth();
    updateButtons();
    m_unsaved->markClean();
}

void MemberScreen::newMember()
{
    m_find->clear();
    enterNewMode();
    m_name->setFocus();
}

void MemberScreen::clearScreen()
{
    m_find->clear();
    enterNewMode();
    m_find->setFocus();
}

// --- search and display -----------------------------------------------------------------

void MemberScreen::applyScreenArgs(const ScreenArgs &args)
{
    const QString code = args.value(QStringLiteral("MbCode")).toString().trimmed();
    const QString card = args.value(QStringLiteral("MbCard")).toString().trimmed();
    if (!code.isEmpty())
        searchFor(MemberSearchKind::Code, code);
    else if (!card.isEmpty())
        searchFor(MemberSearchKind::Card, card);
}

void MemberScreen::searchFor(MemberSearchKind kind, const QString &text)
{
    m_kind->setCurrentIndex(int(kind) - 1);
    m_find->setText(text);
    searchData();
}

void MemberScreen::searchData()
{
    const MemberSearchKind kind = memberSearchKindOf(m_kind->currentText());
    const QString text = m_find->text().trimmed();
    if (text.isEmpty()) {
        m_ui.msg.warn(QStringLiteral("검색어를 입력하세요"), QStringLiteral("회원검색"));
        m_find->setFocus();
        return;
    }
    const auto result = guard(m_ui, DbAction::Read, [&] { return findMembers(m_ui.app.main, kind, text); });
    if (!result)
        return;
    const QList<MemberRecord> &found = result->members;
    if (found.isEmpty()) {
        if (m_ui.msg.ask(kNotFoundText, kNotFoundTitle)) {
            enterNewMode();
            if (kind == MemberSearchKind::Name && m_name->text().isEmpty())
                m_name->setText(text);
            m_name->setFocus();
        } else {
            m_find->setFocus();
        }
        return;
    }
    if (found.size() == 1) {
        showMember(found.first().mbCode);
        return;
    }
    QString picked;
    if (m_picker) {
        picked = m_picker(found);
    } else {
        MemberPickDialog dlg(m_ui, found, this, result->total);
        if (dlg.exec() == QDialog::Accepted && dlg.TF)
            picked = dlg.MbCode;
    }
    if (!picked.isEmpty())
        showMember(picked);
}

bool MemberScreen::showMember(const QString &mbCode)
{
    std::optional<MemberRecord> m;
    qint64 unpaid = 0;
    const bool read = guard(m_ui, DbAction::Read, [&] {
        m = loadMemberForCard(m_ui.app.main, mbCode);
        if (m)
            unpaid = getMemberUnpaid(m_ui.app.main, mbCode);
    });
    if (!read || !m)
        return false;
    m_member = *m;
    m_loaded = true;
    fillInputs(*m);
    m_misu->setText(wonText(unpaid));
    showPhoto();
    showHistory();
    showPoints();
    showAttendance();
    showWaits();
    showCalendarOfThisMonth();
    updateButtons();
    m_unsaved->markClean();
    return true;
}

void MemberScreen::refreshMember()
{
    if (m_loaded) {
        const int tab = m_tabs->currentIndex();
        if (!showMember(m_member.mbCode))
            clearScreen();
        m_tabs->setCurrentIndex(tab);
    }
}

void MemberScreen::fillInputs(const MemberRecord &m)
{
    clearInputs();
    m_code->setText(m.mbCode);
    m_master->setVisible(m.isMaster());
    m_indate->setText(m.indate);
    const int g = m_gubun->findData(m.mbGubun);
    m_gubun->setCurrentIndex(g);
    m_name->setText(m.mbName);
    m_guardian->setText(m.mbName1);
    m_card->setText(m.mbCard);
    m_juno1->setText(m.juno1);
    m_resident->setFullText(m.juno2);
    m_age->setText(m.age > 0 ? QString::number(m.age) : QString());
    const QString sex = m.sex.trimmed();
    m_sex->setCurrentIndex(sex == QStringLiteral("남") ? 0 : sex == QStringLiteral("여") ? 1 : -1);
    m_birth->setText(m.birthDay);
    m_solor->setCurrentIndex(m.solor == QLatin1String("2") ? 1 : 0);
    m_tel1->setText(m.tel1);
    m_tel2->setText(m.tel2);
    m_email->setText(m.email1);
    m_postNo->setText(m.postNo);
    m_addr1->setText(m.addr1);
    m_addr2->setText(m.addr2);
    m_ext->setText(m.ext);
    m_dm->setChecked(m.dm == QLatin1String("1"));
    m_sms->setChecked(m.sms == QLatin1String("1"));
    m_point->setText(wonText(m.point));
    for (QLineEdit *e : {m_juno2, m_indate, m_birth})
        e->setModified(false);

    QString visit = guardQuietly("the last visit falls back to the member row",
                                 [&] { return lastVisitDate(m_ui.app.main, m.mbCode); })
                        .value_or(QString());
    if (visit.isEmpty())
        visit = m.lastDate;
    m_lastDate->setText(visit);
    m_lastTime->setText(visit == m.lastDate ? m.lastTime.left(5) : QString());
}

MemberRecord MemberScreen::gatherInputs() const
{
    MemberRecord m = m_loaded ? m_member : MemberRecord();
    m.mbCode = m_loaded ? m_member.mbCode : QString();
    m.mbName = m_name->text().trimmed();
    m.mbName1 = m_guardian->text().trimmed();
    m.juno1 = m_juno1->text().trimmed();
    m.juno2 = m_resident->fullText();
    m.age = m_age->text().toLongLong();
    m.tel1 = m_tel1->text().trimmed();
    m.tel2 = m_tel2->text().trimmed();
    m.indate = m_indate->text().trimmed();
    m.email1 = m_email->text().trimmed();
    m.postNo = m_postNo->text().trimmed();
    m.addr1 = m_addr1->text().trimmed();
    m.addr2 = m_addr2->text().trimmed();
    m.birthDay = m_birth->text().trimmed();
    m.solor = m_solor->currentIndex() == 1 ? QStringLiteral("2") : QStringLiteral("1");
    m.sex = m_sex->currentIndex() == 0 ? QStringLiteral("남") : m_sex->currentIndex() == 1 ? QStringLiteral("여")
                                                                                            : QStringLiteral(" ");
    m.mbGubun = m_gubun->currentData().toString();
    m.mbCard = m_card->text().trimmed();
    m.ext = m_ext->text().trimmed();
    m.dm = m_dm->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    m.sms = m_sms->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return m;
}

void MemberScreen::showPhoto()
{
    showMemberPhoto(m_photo, m_ui.app.paths.memberPicDir, m_loaded ? m_member.mbCode : QString());
}

void MemberScreen::showHistory()
{
    const QDate today = m_ui.app.clock().today();
    const MemberHistory h = guard(m_ui, DbAction::Read, [&] { return loadMemberHistory(m_ui.app.main, m_member.mbCode); })
                                .value_or(MemberHistory());
    m_lines = buildHistoryLines(h, today);
    QList<QStringList> rows;
    QVariantList keys;
    for (int i = 0; i < m_lines.size(); ++i) {
        rows << m_lines[i].cells;
        keys << i;
    }
    m_lect->setRows(rows, keys);
    for (int i = 0; i < m_lines.size(); ++i) {
        const QColor back = toneColor(m_lines[i].tone);
        if (back.isValid())
            m_lect->colorRow(i, back);
        if (m_lines[i].ended)
            m_lect->setRowForeground(i, QColor(0x80, 0x80, 0x80));
        if (m_lines[i].cancel > 0 || m_lines[i].transfer > 0 || m_lines[i].delay > 0)
            m_lect->setCellForeground(i, HcRemark, QColor(0xC0, 0x00, 0x00));
    }
    const CurrentCourse c = currentCourse(h.lectures, today);
    m_course->setText(c.name);
    m_remain->setText(c.remain);
}

void MemberScreen::showPoints()
{
    const QList<PointLine> lines =
        guard(m_ui, DbAction::Read, [&] { return buildPointLines(loadPointRows(m_ui.app.main, m_member.mbCode)); })
            .value_or(QList<PointLine>());
    QList<QStringList> rows;
    QVariantList keys;
    for (const PointLine &l : lines) {
        rows << l.cells;
        keys << l.ptid;
    }
    m_points->setRows(rows, keys);
}

void MemberScreen::showAttendance()
{
    m_enter->clearRows();
    m_visitNext = VisitCursor();
    m_visitTotal = m_visitsShown = 0;
    m_enterMore->clear();
    if (!m_loaded)
        return;
    if (guard(m_ui, DbAction::Read, [&] { m_visitTotal = countMemberVisits(m_ui.app.main, m_member.mbCode); }))
        showMoreVisits();
}

namespace {

// The first page replaces the grid's rows at once; later ones are appended.
void appendLines(DataGrid *grid, const QList<AttendanceLine> &lines, bool first)
{
    if (first) {
        QList<QStringList> rows;
        QVariantList keys;
        for (const AttendanceLine &l : lines) {
            rows << l.cells;
            keys << l.entid;
        }
        grid->setRows(rows, keys);
        return;
    }
    for (const AttendanceLine &l : lines)
        grid->addRow(l.cells, l.entid);
}

} // namespace

void MemberScreen::showMoreVisits()
{
    if (!m_loaded || (m_visitsShown > 0 && !m_enterMore->hasMore()))
        return;
    QList<AttendanceLine> lines;
    MemberVisitPage page;
    const bool read = guard(m_ui, DbAction::Read, [&] {
        page = loadMemberVisitPage(m_ui.app.main, m_member.mbCode, m_visitNext);
        lines = attendanceLines(m_ui.app.main, page.visits);
    });
    if (!read)
        return;
    appendLines(m_enter, lines, m_visitsShown == 0);
    m_visitNext = page.next;
    m_visitsShown += page.visits.size();
    // A visit written since the count was taken (at another desk) counts too.
    m_visitTotal = std::max(m_visitTotal, m_visitsShown);
    m_enterMore->setState(shownOfTotalText(m_visitsShown, m_visitTotal), page.more);
}

void MemberScreen::showCalendar(int year, int month)
{
    m_calendar->setRowCount(0);
    m_calendar->setRowCount(6);
    if (month < 1 || month > 12 || year < 1)
        return;
    const int offset = weekdayOf(year, month, 1) - 1;
    const int days = daysInMonth(year, month);
    for (int d = 1; d <= days; ++d) {
        const int index = offset + d - 1;
        m_calendar->setCell(index / 7, index % 7, QString::number(d));
    }
    for (int r = 0; r < 6; ++r)
        m_calendar->setCellForeground(r, 0, QColor(0xC0, 0x00, 0x00));
    if (!m_loaded)
        return;
    const auto marks = guardQuietly("the calendar stays without marks; the visits tab says the same",
                                    [&] { return markAttendanceCalendar(m_ui.app.main, year, month, m_member.mbCode); });
    for (const AttendanceMark &mark : marks.value_or(QList<AttendanceMark>())) {
        m_calendar->setCellBackground(mark.row, mark.column, QColor(0xFF, 0xC8, 0x6E));
        m_calendar->setCellBold(mark.row, mark.column, true);
    }
}

// --- checks on input -----------------------------------------------------------------------

void MemberScreen::checkResident()
{
    // The warning box takes the focus, which ends the editing once more.
    if (m_checkingResident || !m_juno2->isModified())
        return;
    m_checkingResident = true;
    m_juno2->setModified(false);
    const ResidentCheck r = checkResidentNumber(m_juno1->text(), m_juno2->text(), m_ui.app.clock().today());
    if (r.refused()) {
        m_ui.msg.warn(r.text, r.title);
        m_age->clear();
        // Both refusals are about the first part (too short, or no date).
        m_juno1->setFocus();
    } else if (r.accepted()) {
        m_age->setText(QString::number(r.age));
        m_sex->setCurrentIndex(r.sexCode == QLatin1String("1") ? 0 : r.sexCode == QLatin1String("2") ? 1 : -1);
        if (m_birth->text().trimmed().isEmpty()) {
            m_birth->setText(r.birthDate);
            m_solor->setCurrentIndex(0);
        }
    }
    m_checkingResident = false;
}

// --- saving and deleting ---------------------------------------------------------------------

bool MemberScreen::save()
{
    const QDate today = m_ui.app.clock().today();
    if (!normalizeDateField(m_indate, today, m_ui.msg)) {
        m_indate->setFocus();
        return false;
    }
    if (m_indate->text().trimmed().isEmpty())
        m_indate->setText(fmtDate(today));
    if (!normalizeDateField(m_birth, today, m_ui.msg)) {
        m_birth->setFocus();
        return false;
    }
    const MemberRecord input = gatherInputs();
    const auto saved = guard(m_ui, DbAction::Save, [&] { return saveMember(m_ui.app.main, input); });
    if (!saved)
        return false;
    const MemberSaveResult &r = *saved;
    showNotice(m_ui, r.message);
    if (!r.saved) {
        if (input.mbName.isEmpty())
            m_name->setFocus();
        else if (r.message.text.contains(QStringLiteral("카드")))
            m_card->setFocus();
        return false;
    }
    showMember(r.mbCode);
    m_find->setFocus();
    return true;
}

void MemberScreen::deleteMember()
{
    if (!m_loaded) {
        m_ui.msg.warn(QStringLiteral("삭제할 자료가 없습니다.확인하십시요"), QStringLiteral("삭제불가"));
        return;
    }
    if (!m_ui.msg.ask(m_member.mbName + QStringLiteral(" 회원의 모든 자료를 삭제하시겠읍니까? "), kDeleteTitle))
        return;
    if (!guard(m_ui, DbAction::Delete, [&] { fitrova::deleteMember(m_ui.app.main, m_member.mbCode); }))
        return;
    // The number may be given again to the next new member: the old photo goes too.
    removeMemberPhoto(m_ui.app.paths.memberPicDir, m_member.mbCode);
    m_ui.msg.info(QStringLiteral("회원자료가 모두 삭제되었습니다."), kDeleteTitle);
    clearScreen();
}

void MemberScreen::deleteSelectedRow()
{
    const HistoryLine *line = selectedLine();
    if (!m_loaded || !line)
        return;
    const HistoryLine l = *line;
    if (!l.isSale) {
        const auto check = guard(m_ui, DbAction::Delete, [&] { return lectureDeleteCheck(m_ui.app.main, l.id); });
        if (!check || !showOutcome(m_ui, *check))
            return;
    }
    if (!m_ui.msg.ask(kAskDeleteRow, kDeleteTitle))
        return;
    const auto r = guard(m_ui, DbAction::Delete, [&] {
        return l.isSale ? deleteSale(m_ui.app.main, l.id) : deleteLecture(m_ui.app.main, l.id);
    });
    if (r && !r->deleted)
        showNotice(m_ui, r->message);
    if (r && r->deleted && r->freedPgid > 0) {
        const auto freed = guard(m_ui, DbAction::Read, [&] {
            return placeFreedNotice(m_ui.app.main, r->freedPgid, fmtDate(m_ui.app.clock().today()));
        });
        if (freed && !freed->isEmpty())
            showNotice(m_ui, *freed);
    }
    refreshMember();
}

void MemberScreen::showWaits()
{
    const QList<WaitEntry> waits =
        guard(m_ui, DbAction::Read, [&] { return memberWaitList(m_ui.app.main, m_member.mbCode); })
            .value_or(QList<WaitEntry>());
    QList<QStringList> rows;
    QVariantList keys;
    for (const WaitEntry &w : waits) {
        rows << QStringList{QString::number(w.order), w.pgName, w.waitDate, w.remark};
        keys << w.wlId;
    }
    m_waits->setRows(rows, keys);
    m_tabs->setTabText(m_waitTab, waits.isEmpty() ? QStringLiteral("대기강좌")
                                                  : QStringLiteral("대기강좌(%1)").arg(waits.size()));
    m_cmdWaitCancel->setEnabled(!waits.isEmpty());
}

void MemberScreen::cancelSelectedWait()
{
    const int row = m_waits->currentRow();
    if (!m_loaded || row < 0)
        return;
    const QString pgName = m_waits->cellText(row, 1);
    if (!m_ui.msg.ask(QStringLiteral("[%1]의 대기를 취소하시겠습니까?").arg(pgName), waitListTitle()))
        return;
    const qint64 wlId = m_waits->rowKey(row).toLongLong();
    if (const auto o = guard(m_ui, DbAction::Delete, [&] { return removeFromWaitList(m_ui.app.main, wlId); }))
        showOutcome(m_ui, *o);
    showWaits();
}

void MemberScreen::deleteSelectedPoint()
{
    const int row = m_points->currentRow();
    if (!m_loaded || row < 0)
        return;
    if (!m_ui.msg.ask(QStringLiteral("현제 선택된 자료를 삭제하시겠읍니까?"), kDeleteTitle))
        return;
    const auto r =
        guard(m_ui, DbAction::Delete, [&] { return deletePointRow(m_ui.app.main, m_points->rowKey(row).toLongLong()); });
    if (r && !r->deleted)
        showNotice(m_ui, r->message);
    else if (r)
        m_point->setText(wonText(r->point));
    showPoints();
    updateButtons();
}

// --- photo ---------------------------------------------------------------------------------

void MemberScreen::takePhoto()
{
    if (!m_loaded) {
        m_ui.msg.warn(kSelectFirst, QStringLiteral("사진촬영"));
        return;
    }
    if (CaptureDialog::capture(m_ui, m_member.mbCode, this))
        showPhoto();
}

void MemberScreen::loadPhotoFromFile()
{
    const QString title = QStringLiteral("불러오기");
    if (!m_loaded) {
        m_ui.msg.warn(kSelectFirst, title);
        return;
    }
    const QString file = m_fileChooser ? m_fileChooser()
                                       : QFileDialog::getOpenFileName(
                                             this, title, QString(),
                                             QStringLiteral("All Files (*.*);;jpg Files(*.jpg);;Bmp Files (*.bmp)"));
    if (file.isEmpty())
        return;
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_ui.msg.warn(QStringLiteral("그림파일을 읽을수 없읍니다"), title);
        return;
    }
    if (!saveMemberPhoto(image, m_ui.app.paths.memberPicDir, m_member.mbCode)) {
        m_ui.msg.warn(QStringLiteral("경로를 찾을수 없읍니다"), title);
        return;
    }
    showPhoto();
}

void MemberScreen::deletePhoto()
{
    const QString title = QStringLiteral("사진삭제");
    if (!m_loaded) {
        m_ui.msg.warn(kSelectFirst, title);
        return;
    }
    if (!m_ui.msg.ask(QStringLiteral("등록된 회원의 사진을 삭제하시겠읍니까?"), title))
        return;
    if (!removeMemberPhoto(m_ui.app.paths.memberPicDir, m_member.mbCode))
        m_ui.msg.warn(QStringLiteral("사진을 삭제하지 못했읍니다"), title);
    showPhoto();
}

// --- address ----------------------------------------------------------------------------------

void MemberScreen::lookupAddress()
{
    const QString text = m_addr1->text().trimmed();
    QPair<QString, QString> picked;
    if (m_postPicker) {
        picked = m_postPicker(text);
    } else {
        PostLookupDialog dlg(m_ui, false, text, this);
        if (dlg.exec() == QDialog::Accepted && dlg.TF)
            picked = {dlg.postNo(), dlg.address()};
    }
    if (picked.first.isEmpty()) {
        m_addr1->setFocus();
        return;
    }
    m_postNo->setText(picked.first);
    m_addr1->setText(picked.second);
    m_addr2->setFocus();
}

// --- other screens -------------------------------------------------------------------------------

BatchQueryDialog *MemberScreen::openBatchQuery()
{
    if (m_batch) {
        m_batch->raise();
        m_batch->activateWindow();
        return m_batch;
    }
    m_batch = new BatchQueryDialog(m_ui, m_hooks, this);
    m_batch->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_batch, &BatchQueryDialog::memberChosen, this,
            [this](const QString &code) { searchFor(MemberSearchKind::Code, code); });
    m_batch->show();
    return m_batch;
}

void MemberScreen::startEnrollment(EnrollmentScreen screen)
{
    if (!m_loaded) {
        m_ui.msg.warn(kSelectFirst, enrollmentScreenName(screen));
        return;
    }
    const qint64 unpaid =
        guardQuietly("the screen opens with the amount the card showed; it computes its own on saving",
                     [&] { return getMemberUnpaid(m_ui.app.main, m_member.mbCode); })
            .value_or(m_member.misuAmt);
    const EnrollmentRequest request = newEnrollmentRequest(screen, m_member.mbCode, selectedLine(), unpaid);
    if (runEnrollmentScreen(m_ui, m_hooks, request, this))
        refreshMember();
}

void MemberScreen::modifySelected()
{
    const HistoryLine *line = selectedLine();
    if (!m_loaded || !line)
        return;
    const ModifyDecision d = modifyDispatch(*line, m_member.mbCode);
    if (d.refused) {
        showNotice(m_ui, d.message);
        return;
    }
    if (runEnrollmentScreen(m_ui, m_hooks, d.request, this))
        refreshMember();
}

} // namespace fitrova
