#include "sales/ui/posscreen.h"

#include "closing/shift.h"
#include "data/lookups.h"
#include "data/text.h"
#include "sales/goods.h"
#include "sales/ui/scancatcher.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace fitrova {

namespace {

enum Col { ColClass, ColName, ColQty, ColAmt, ColRate, ColDc, ColCost, ColGross };

const char *const kRateCaptions[] = {"5 %", "10 %", "20 %", "30 %", "50 %"};
const char *const kAmountCaptions[] = {"500원", "1000원", "2000원", "5000원"};
constexpr int kRateButtons = 5;
constexpr int kAmountButtons = 4;

// Stored colours are 0x00BBGGRR; 0 means the standard colour.
QColor colorOf(qint64 stored)
{
    if (stored <= 0)
        return {};
    return QColor(int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF));
}
qint64 storedColor(const QColor &c)
{
    if (!c.isValid())
        return 0;
    return qint64(c.red()) | (qint64(c.green()) << 8) | (qint64(c.blue()) << 16);
}

// The palette of item button colours.
const QList<QColor> &paletteColors()
{
    static const QList<QColor> colors = {
        QColor(0xFF, 0xCD, 0xD2), QColor(0xF8, 0xBB, 0xD0), QColor(0xE1, 0xBE, 0xE7), QColor(0xD1, 0xC4, 0xE9),
        QColor(0xC5, 0xCA, 0xE9), QColor(0xBB, 0xDE, 0xFB), QColor(0xB2, 0xEB, 0xF2), QColor(0xB2, 0xDF, 0xDB),
        QColor(0xC8, 0xE6, 0xC9), QColor(0xDC, 0xED, 0xC8), QColor(0xF0, 0xF4, 0xC3), QColor(0xFF, 0xF9, 0xC4),
        QColor(0xFF, 0xEC, 0xB3), QColor(0xFF, 0xE0, 0xB2), QColor(0xFF, 0xCC, 0xBC), QColor(0xD7, 0xCC, 0xC8),
    };
    return colors;
}

QString escapeMnemonic(QString s) { return s.replace(QLatin1Char('&'), QStringLiteral("&&")); }

QPushButton *posButton(QWidget *parent, const QString &name, const QString &text, int minHeight = 34)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(true); // Enter on a focused button presses it
    b->setMinimumHeight(minHeight);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return b;
}

void keepPlaceWhenHidden(QWidget *w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

QLabel *panel(QWidget *parent, const QString &name, int minWidth, Qt::Alignment align = Qt::AlignCenter)
{
    QLabel *l = displayPanel(parent, name, minWidth, align);
    l->setMinimumHeight(28);
    return l;
}

void setSelectedLook(QPushButton *b, bool selected)
{
    b->setStyleSheet(selected ? QStringLiteral("QPushButton { color: #D00000; font-weight: bold; }") : QString());
}

} // namespace

PosScreen::PosScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품판매"));
    setWindowTitle(QStringLiteral("상품판매"));
    buildUi();
    installShortcuts();
    m_catcher = new ScanCatcher(this, m_scan, [this] { scan(); });
    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, &PosScreen::updateClock);
    m_clock->start(1000);
    loadStart();
    QTimer::singleShot(0, this, [this] { focusScan(); });
}

PosScreen::~PosScreen() = default;

// --- layout ----------------------------------------------------------------------

void PosScreen::buildUi()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(buildTopBar());
    auto *body = new QHBoxLayout;
    body->setSpacing(8);
    body->addWidget(buildButtonPanel(), 47);
    body->addWidget(buildSalePanel(), 53);
    outer->addLayout(body, 1);
    resize(1000, 600);

    // The card companies, shown over the sale grid when the card pays.
    m_cardFrame = new QFrame(this);
    m_cardFrame->setObjectName(QStringLiteral("Fra카드"));
    m_cardFrame->setFrameShape(QFrame::Box);
    m_cardFrame->setAutoFillBackground(true);
    auto *cl = new QVBoxLayout(m_cardFrame);
    cl->setContentsMargins(6, 6, 6, 6);
    cl->addWidget(new QLabel(QStringLiteral("카드사 선택 (Enter: 선택, Esc: 닫기)"), m_cardFrame));
    m_cardGrid = new DataGrid(m_cardFrame);
    m_cardGrid->setObjectName(QStringLiteral("Sp카드사"));
    m_cardGrid->setColumns({QStringLiteral("구분"), QStringLiteral("카드사명")}, {50, 180});
    m_cardGrid->setHeaderSorting(false);
    cl->addWidget(m_cardGrid);
    m_cardFrame->hide();
    auto pick = [this](int row) {
        if (row >= 0 && row < m_cardGrid->rowCount())
            chooseCardCompany(m_cardGrid->cell(row, 0), m_cardGrid->cell(row, 1));
    };
    connect(m_cardGrid, &DataGrid::rowActivated, this, pick);
    m_cardGrid->installEventFilter(this);
}

QWidget *PosScreen::buildTopBar()
{
    auto *w = new QWidget(this);
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    m_pnlPos = panel(w, QStringLiteral("PnlPos"), 70);
    m_pnlUser = panel(w, QStringLiteral("PnlUser"), 90);
    m_pnlDate = panel(w, QStringLiteral("PnlDate"), 100);
    m_pnlTime = panel(w, QStringLiteral("PnlTime"), 80);
    m_pnlShift = panel(w, QStringLiteral("Pnl차수"), 70);
    h->addWidget(m_pnlPos);
    h->addWidget(m_pnlUser);
    h->addWidget(m_pnlDate);
    h->addWidget(m_pnlTime);
    h->addWidget(m_pnlShift);
    h->addSpacing(12);
    h->addWidget(caption(w, QStringLiteral("바코드/회원카드")));
    m_scan = new QLineEdit(w);
    m_scan->setObjectName(QStringLiteral("TxtcardNo"));
    m_scan->setMaxLength(40);
    m_scan->setMinimumHeight(28);
    m_scan->setPlaceholderText(QStringLiteral("스캔 또는 입력 후 Enter"));
    h->addWidget(m_scan, 1);
    m_scan->installEventFilter(this);
    connect(m_scan, &QLineEdit::returnPressed, this, &PosScreen::scan);
    return w;
}

QWidget *PosScreen::buildButtonPanel()
{
    auto *w = new QWidget(this);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);

    auto *classes = new QGridLayout;
    classes->setSpacing(3);
    for (int i = 1; i <= kClassButtons; ++i) {
        QPushButton *b = posButton(w, QStringLiteral("CmdClass%1").arg(i), QString(), 36);
        keepPlaceWhenHidden(b);
        classes->addWidget(b, (i - 1) / 5, (i - 1) % 5);
        connect(b, &QPushButton::clicked, this, [this, i] { selectClass(i); });
        m_classButtons << b;
    }
    v->addLayout(classes);
    auto *classPager = new QHBoxLayout;
    m_classPrev = posButton(w, QStringLiteral("CmdClassPrev"), QStringLiteral("◀ 분류 (Ctrl+PgUp)"), 28);
    QPushButton *all = posButton(w, QStringLiteral("CmdClass11"), QStringLiteral("전체 (F11)"), 28);
    m_classNext = posButton(w, QStringLiteral("CmdClassNext"), QStringLiteral("분류 ▶ (Ctrl+PgDn)"), 28);
    classPager->addWidget(m_classPrev);
    classPager->addWidget(all);
    classPager->addWidget(m_classNext);
    v->addLayout(classPager);
    m_classButtons << all;
    connect(all, &QPushButton::clicked, this, [this] { selectClass(11); });
    connect(m_classPrev, &QPushButton::clicked, this, [this] { showClassPage(m_classPage - 1); });
    connect(m_classNext, &QPushButton::clicked, this, [this] { showClassPage(m_classPage + 1); });

    auto *itemsBox = new QGridLayout;
    itemsBox->setSpacing(3);
    for (int i = 1; i <= kItemButtons; ++i) {
        QPushButton *b = posButton(w, QStringLiteral("CmdItem%1").arg(i), QString(), 58);
        keepPlaceWhenHidden(b); // a short page keeps its buttons at their size and place
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        itemsBox->addWidget(b, (i - 1) / kItemColumns, (i - 1) % kItemColumns);
        connect(b, &QPushButton::clicked, this, [this, i] { pressItem(i); });
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, i, b](const QPoint &p) { showColorPalette(i, b->mapToGlobal(p)); });
        b->installEventFilter(this);
        m_itemButtons << b;
        m_saleOnly << b;
    }
    v->addLayout(itemsBox, 1);
    auto *itemPager = new QHBoxLayout;
    m_itemPrev = posButton(w, QStringLiteral("CmdItemPrev"), QStringLiteral("◀ 이전 (PgUp)"), 28);
    m_itemPageLabel = new QLabel(w);
    m_itemPageLabel->setObjectName(QStringLiteral("PnlItemPage"));
    m_itemPageLabel->setAlignment(Qt::AlignCenter);
    m_itemNext = posButton(w, QStringLiteral("CmdItemNext"), QStringLiteral("다음 ▶ (PgDn)"), 28);
    itemPager->addWidget(m_itemPrev);
    itemPager->addWidget(m_itemPageLabel, 1);
    itemPager->addWidget(m_itemNext);
    v->addLayout(itemPager);
    connect(m_itemPrev, &QPushButton::clicked, this, [this] { showItemPage(m_itemPage - 1); });
    connect(m_itemNext, &QPushButton::clicked, this, [this] { showItemPage(m_itemPage + 1); });

    auto *hint = new QLabel(QStringLiteral("Alt+숫자: 분류   방향키·Enter: 상품   Esc: 스캔창   오른쪽단추(메뉴키): 색상"), w);
    hint->setObjectName(QStringLiteral("LblKeys"));
    hint->setStyleSheet(QStringLiteral("color: #505050;"));
    v->addWidget(hint);
    return w;
}

QWidget *PosScreen::buildSalePanel()
{
    auto *w = new QWidget(this);
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);

    m_loadedLabel = new QLabel(w);
    m_loadedLabel->setObjectName(QStringLiteral("PnlVoucher"));
    m_loadedLabel->setStyleSheet(QStringLiteral("color: #0040A0; font-weight: bold;"));
    m_loadedLabel->hide();
    v->addWidget(m_loadedLabel);

    m_grid = new DataGrid(w);
    m_grid->setObjectName(QStringLiteral("SpSale"));
    m_grid->setColumns({QStringLiteral("구분"), QStringLiteral("품명"), QStringLiteral("수량"), QStringLiteral("금액"),
                        QStringLiteral("할인"), QStringLiteral("할인액"), QStringLiteral("단가"),
                        QStringLiteral("원금액")},
                       {36, 128, 38, 66, 44, 56, 58, 66});
    for (int c : {ColQty, ColAmt, ColRate, ColDc, ColCost, ColGross})
        m_grid->setColumnAlignment(c, Qt::AlignRight);
    m_grid->setHeaderSorting(false);
    m_grid->setMinimumHeight(150);
    v->addWidget(m_grid, 1);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) { removeLine(i.row()); });

    auto *totals = new QGridLayout;
    totals->addWidget(caption(w, QStringLiteral("원금액")), 0, 0);
    m_pnlSum = panel(w, QStringLiteral("PnlSumAmt"), 90, Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(m_pnlSum, 0, 1);
    totals->addWidget(caption(w, QStringLiteral("할인액")), 0, 2);
    m_pnlDc = panel(w, QStringLiteral("PnlDcAmt"), 90, Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(m_pnlDc, 0, 3);
    totals->addWidget(caption(w, QStringLiteral("결제금액")), 0, 4);
    m_pnlTot = panel(w, QStringLiteral("PnlTotAmt"), 110, Qt::AlignRight | Qt::AlignVCenter);
    QFont big = m_pnlTot->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_pnlTot->setFont(big);
    totals->addWidget(m_pnlTot, 0, 5);

    m_payCash = posButton(w, QStringLiteral("PnlAmtGubun1"), QStringLiteral("현금 (F5)"), 30);
    m_payCard = posButton(w, QStringLiteral("PnlAmtGubun2"), QStringLiteral("카드 (F6)"), 30);
    m_cash = new MoneyEdit(w, QStringLiteral("PnlCashAmt"), QStringLiteral("현금"));
    m_card = new MoneyEdit(w, QStringLiteral("PnlCardAmt"), QStringLiteral("카드"));
    for (MoneyEdit *e : {m_cash, m_card}) {
        e->setAllowNegative(true);
        e->setAlignment(Qt::AlignRight);
        e->setMinimumHeight(28);
    }
    m_pnlCardCo = panel(w, QStringLiteral("Pnl카드사"), 80);
    totals->addWidget(m_payCash, 1, 0);
    totals->addWidget(m_cash, 1, 1);
    totals->addWidget(m_payCard, 1, 2);
    totals->addWidget(m_card, 1, 3);
    totals->addWidget(m_pnlCardCo, 1, 4);
    m_chkCashReceipt = new QCheckBox(QStringLiteral("현금영수증(&R)"), w);
    m_chkCashReceipt->setObjectName(QStringLiteral("Chk현금영수증"));
    totals->addWidget(m_chkCashReceipt, 1, 5);
    v->addLayout(totals);
    m_saleOnly << m_payCash << m_payCard;
    connect(m_payCash, &QPushButton::clicked, this, [this] { choosePayment(1); });
    connect(m_payCard, &QPushButton::clicked, this, [this] { choosePayment(2); });
    // One amount typed: the other takes the rest of the payable total.
    auto complement = [this](MoneyEdit *typed, MoneyEdit *other) {
        const qint64 payable = m_draft.totals().payable;
        const auto v = typed->value();
        if (!v || isVoucherLoaded() || payable <= 0 || *v < 0 || *v > payable)
            return;
        other->setAmount(payable - *v);
    };
    connect(m_cash, &QLineEdit::editingFinished, this, [this, complement] { complement(m_cash, m_card); });
    connect(m_card, &QLineEdit::editingFinished, this, [this, complement] { complement(m_card, m_cash); });
    for (MoneyEdit *e : {m_cash, m_card})
        connect(e, &QLineEdit::returnPressed, this, [this] { focusScan(); });

    // Keypad, quantity/amount/discount keys and the discount buttons.
    auto *pad = new QHBoxLayout;
    auto *keys = new QGridLayout;
    keys->setSpacing(3);
    m_pnlNum = panel(w, QStringLiteral("PnlNum"), 120, Qt::AlignRight | Qt::AlignVCenter);
    keys->addWidget(m_pnlNum, 0, 0, 1, 3);
    const char *const digits[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3", "0", "00"};
    for (int i = 0; i < 11; ++i) {
        const QString d = QString::fromLatin1(digits[i]);
        QPushButton *b = posButton(w, QStringLiteral("CmdNum") + d, d, 32);
        keys->addWidget(b, 1 + i / 3, i % 3);
        connect(b, &QPushButton::clicked, this, [this, d] { keypadDigit(d); });
        m_saleOnly << b;
    }
    QPushButton *clr = posButton(w, QStringLiteral("CmdCLR"), QStringLiteral("CLR"), 32);
    keys->addWidget(clr, 4, 2);
    connect(clr, &QPushButton::clicked, this, &PosScreen::keypadClear);
    QPushButton *qty = posButton(w, QStringLiteral("Cmd수량"), QStringLiteral("수량 (F2)"), 32);
    QPushButton *amt = posButton(w, QStringLiteral("Cmd금액"), QStringLiteral("금액 (F3)"), 32);
    QPushButton *rate = posButton(w, QStringLiteral("Cmd할인"), QStringLiteral("할인 (F4)"), 32);
    QPushButton *del = posButton(w, QStringLiteral("Cmd라인삭제"), QStringLiteral("라인삭제 (Del)"), 32);
    keys->addWidget(qty, 1, 3);
    keys->addWidget(amt, 2, 3);
    keys->addWidget(rate, 3, 3);
    keys->addWidget(del, 4, 3);
    m_saleOnly << qty << amt << rate << clr;
    connect(qty, &QPushButton::clicked, this, &PosScreen::applyQuantity);
    connect(amt, &QPushButton::clicked, this, &PosScreen::applyDiscountAmount);
    connect(rate, &QPushButton::clicked, this, &PosScreen::applyDiscountRate);
    connect(del, &QPushButton::clicked, this, &PosScreen::removeCurrentLine);
    pad->addLayout(keys, 3);

    auto *dc = new QGridLayout;
    dc->setSpacing(3);
    for (int i = 0; i < kRateButtons; ++i) {
        QPushButton *b = posButton(w, QStringLiteral("CmdDcYul%1").arg(i + 1),
                                   QString::fromUtf8(kRateCaptions[i]) + QStringLiteral("\n(Ctrl+%1)").arg(i + 1), 32);
        dc->addWidget(b, i, 0);
        connect(b, &QPushButton::clicked, this, [this, i] { applyRateButton(i + 1); });
        m_saleOnly << b;
    }
    for (int i = 0; i < kAmountButtons; ++i) {
        QPushButton *b = posButton(w, QStringLiteral("CmdDcAmt%1").arg(i + 1),
                                   QString::fromUtf8(kAmountCaptions[i]) + QStringLiteral("\n(Ctrl+%1)").arg(i + 6), 32);
        dc->addWidget(b, i, 1);
        connect(b, &QPushButton::clicked, this, [this, i] { applyAmountButton(i + 1); });
        m_saleOnly << b;
    }
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    for (int i = 0; i < dc->count(); ++i)
        if (QWidget *b = dc->itemAt(i)->widget())
            b->setFont(small);
    pad->addLayout(dc, 2);
    v->addLayout(pad);

    // Commands.
    auto *cmds = new QGridLayout;
    cmds->setSpacing(3);
    QPushButton *done = posButton(w, QStringLiteral("Cmd완료"), QStringLiteral("완료 (F12)"), 40);
    QFont bold = done->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    done->setFont(bold);
    QPushButton *cancel = posButton(w, QStringLiteral("Cmd전체취소"), QStringLiteral("전체취소 (Ctrl+Del)"), 40);
    QPushButton *inquiry = posButton(w, QStringLiteral("Cmd조회"), QStringLiteral("조회 (F7)"), 30);
    m_cmdReprint = posButton(w, QStringLiteral("Cmd재발행"), QStringLiteral("재발행 (F8)"), 30);
    m_cmdRefund = posButton(w, QStringLiteral("Cmd환불"), QStringLiteral("환불 (F9)"), 30);
    QPushButton *drawer = posButton(w, QStringLiteral("Cmd돈통"), QStringLiteral("돈통 (F10)"), 30);
    QPushButton *close = posButton(w, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 30);
    m_chkPrint = new QCheckBox(QStringLiteral("인쇄(&P)"), w);
    m_chkPrint->setObjectName(QStringLiteral("Chk인쇄"));
    m_chkDrawer = new QCheckBox(QStringLiteral("돈통사용(&D)"), w);
    m_chkDrawer->setObjectName(QStringLiteral("Chk돈통사용"));
    cmds->addWidget(done, 0, 0, 1, 2);
    cmds->addWidget(cancel, 0, 2, 1, 2);
    cmds->addWidget(m_chkPrint, 0, 4);
    cmds->addWidget(m_chkDrawer, 0, 5);
    cmds->addWidget(inquiry, 1, 0);
    cmds->addWidget(m_cmdReprint, 1, 1);
    cmds->addWidget(m_cmdRefund, 1, 2);
    cmds->addWidget(drawer, 1, 3);
    cmds->addWidget(close, 1, 4, 1, 2);
    v->addLayout(cmds);
    m_saleOnly << done;
    connect(done, &QPushButton::clicked, this, &PosScreen::complete);
    connect(cancel, &QPushButton::clicked, this, &PosScreen::reset);
    connect(inquiry, &QPushButton::clicked, this, &PosScreen::openInquiry);
    connect(m_cmdReprint, &QPushButton::clicked, this, &PosScreen::reprint);
    connect(m_cmdRefund, &QPushButton::clicked, this, &PosScreen::refund);
    connect(drawer, &QPushButton::clicked, this, &PosScreen::openDrawer);
    connect(close, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_chkDrawer, &QCheckBox::toggled, this, [](bool on) { saveDrawerSetting(on); });
    return w;
}

void PosScreen::installShortcuts()
{
    auto add = [this](const QKeySequence &keys, auto fn) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, fn);
    };
    add(QKeySequence(Qt::Key_F2), [this] { applyQuantity(); });
    add(QKeySequence(Qt::Key_F3), [this] { applyDiscountAmount(); });
    add(QKeySequence(Qt::Key_F4), [this] { applyDiscountRate(); });
    add(QKeySequence(Qt::Key_F5), [this] {
        choosePayment(1);
        m_cash->setFocus();
        m_cash->selectAll();
    });
    add(QKeySequence(Qt::Key_F6), [this] { choosePayment(2); });
    add(QKeySequence(Qt::Key_F7), [this] { openInquiry(); });
    add(QKeySequence(Qt::Key_F8), [this] { reprint(); });
    add(QKeySequence(Qt::Key_F9), [this] { refund(); });
    add(QKeySequence(Qt::Key_F10), [this] { openDrawer(); });
    add(QKeySequence(Qt::Key_F11), [this] { selectClass(11); });
    add(QKeySequence(Qt::Key_F12), [this] { complete(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { reset(); });
    add(QKeySequence(Qt::Key_PageUp), [this] { showItemPage(m_itemPage - 1); });
    add(QKeySequence(Qt::Key_PageDown), [this] { showItemPage(m_itemPage + 1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { showClassPage(m_classPage - 1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { showClassPage(m_classPage + 1); });
    for (int i = 1; i <= kRateButtons; ++i)
        add(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + i)), [this, i] { applyRateButton(i); });
    for (int i = 1; i <= kAmountButtons; ++i)
        add(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_5 + i)), [this, i] { applyAmountButton(i); });
}

// --- loading -----------------------------------------------------------------------

void PosScreen::loadStart()
{
    const AppContext &ctx = m_ui.app;
    m_pnlPos->setText(QStringLiteral("POS ") + QString::number(ctx.workstation.posNo));
    m_pnlUser->setText(ctx.user.userName);
    updateClock();
    const bool drawer = drawerSettingOn();
    m_chkDrawer->blockSignals(true);
    m_chkDrawer->setChecked(drawer);
    m_chkDrawer->blockSignals(false);
    m_chkPrint->setChecked(ctx.workstation.posPrint.trimmed() == QLatin1String("1")
                           || ctx.workstation.posPrint2.trimmed() == QLatin1String("1"));

    if (const auto cards = guard(m_ui, DbAction::Read, [&] { return cardCompanies(ctx.main); }))
        m_cards = *cards;
    QList<QStringList> rows;
    QVariantList keys;
    for (const CardCompany &c : m_cards) {
        rows << QStringList{c.code, c.name};
        keys << c.code;
    }
    m_cardGrid->setRows(rows, keys);
    if (const auto classes = guard(m_ui, DbAction::Read, [&] { return posClasses(ctx.main); }))
        m_classes = *classes;
    showClassPage(0);
    selectClass(11);
    reset();
}

void PosScreen::updateClock()
{
    const QDateTime now = m_ui.app.clock().now();
    m_pnlDate->setText(now.date().toString(QStringLiteral("yyyy-MM-dd")));
    m_pnlTime->setText(now.time().toString(QStringLiteral("HH:mm:ss")));
}

void PosScreen::focusScan()
{
    m_scan->setFocus(Qt::OtherFocusReason);
    m_scan->selectAll();
}

// --- class and item buttons ----------------------------------------------------------

void PosScreen::showClassPage(int page)
{
    const int pages = qMax(1, int((m_classes.size() + kClassButtons - 1) / kClassButtons));
    m_classPage = qBound(0, page, pages - 1);
    refreshClassButtons();
}

void PosScreen::refreshClassButtons()
{
    for (int i = 0; i < kClassButtons; ++i) {
        const int at = m_classPage * kClassButtons + i;
        QPushButton *b = m_classButtons.at(i);
        if (at < m_classes.size()) {
            const int key = (i + 1) % 10;
            b->setText(QStringLiteral("&%1 ").arg(key) + escapeMnemonic(m_classes.at(at).name));
            b->setVisible(true);
            b->setToolTip(QStringLiteral("Alt+%1").arg(key));
        } else {
            b->setVisible(false);
        }
        setSelectedLook(b, at < m_classes.size() && m_class && *m_class == m_classes.at(at));
    }
    setSelectedLook(m_classButtons.at(kClassButtons), !m_class);
    const int pages = qMax(1, int((m_classes.size() + kClassButtons - 1) / kClassButtons));
    m_classPrev->setEnabled(m_classPage > 0);
    m_classNext->setEnabled(m_classPage < pages - 1);
}

void PosScreen::selectClass(int button)
{
    std::optional<PosClass> cls;
    if (button >= 1 && button <= kClassButtons) {
        const int at = m_classPage * kClassButtons + button - 1;
        if (at >= m_classes.size())
            return;
        cls = m_classes.at(at);
    }
    const auto items = guard(m_ui, DbAction::Read, [&] { return posItems(m_ui.app.main, cls); });
    if (!items)
        return;
    m_class = cls;
    m_items = *items;
    m_itemPage = 0;
    refreshClassButtons();
    refreshItemButtons();
    // The keyboard goes on among the items of the class.
    if (isVisible() && !isVoucherLoaded() && !m_itemButtons.isEmpty() && m_itemButtons.first()->isVisible())
        m_itemButtons.first()->setFocus(Qt::ShortcutFocusReason);
}

int PosScreen::itemPageCount() const { return qMax(1, int((m_items.size() + kItemButtons - 1) / kItemButtons)); }

void PosScreen::showItemPage(int page)
{
    m_itemPage = qBound(0, page, itemPageCount() - 1);
    refreshItemButtons();
}

void PosScreen::refreshItemButtons()
{
    for (int i = 0; i < kItemButtons; ++i) {
        QPushButton *b = m_itemButtons.at(i);
        const int at = m_itemPage * kItemButtons + i;
        if (at >= m_items.size()) {
            b->setVisible(false);
            b->setProperty("itId", QVariant());
            continue;
        }
        const PosItem &it = m_items.at(at);
        b->setText(escapeMnemonic(itemButtonCaption(it.itName, it.itAmt)));
        b->setProperty("itId", it.itId);
        const QColor c = colorOf(it.color);
        const QString sheet = c.isValid() ? QStringLiteral("QPushButton { background-color: %1; color: black; } "
                                                           "QPushButton:disabled { color: #a0a0a0; }")
                                                .arg(c.name())
                                          : QString();
        // A style sheet set again costs a new polish of the button.
        if (b->styleSheet() != sheet)
            b->setStyleSheet(sheet);
        b->setVisible(true);
    }
    m_itemPageLabel->setText(QStringLiteral("%1 / %2 쪽 (%3개)").arg(m_itemPage + 1).arg(itemPageCount()).arg(m_items.size()));
    m_itemPrev->setEnabled(m_itemPage > 0);
    m_itemNext->setEnabled(m_itemPage < itemPageCount() - 1);
}

void PosScreen::pressItem(int button)
{
    if (button < 1 || button > kItemButtons)
        return;
    const QVariant id = m_itemButtons.at(button - 1)->property("itId");
    if (id.isValid())
        addItemById(id.toLongLong());
}

void PosScreen::addItemById(qint64 itId)
{
    if (isVoucherLoaded()) {
        m_ui.msg.warn(QStringLiteral("조회한 전표는 재발행 또는 환불만 할수 있읍니다..\n새로 판매하려면 전체취소 후 입력하세요"),
                      QStringLiteral("상품판매"));
        return;
    }
    const auto item = guard(m_ui, DbAction::Read, [&] { return posItem(m_ui.app.main, itId); });
    if (!item)
        return;
    if (!*item) {
        m_ui.msg.warn(QStringLiteral("상품정보를 찾을수 없읍니다"), QStringLiteral("상품정보"));
        return;
    }
    const PosItem &it = **item;
    const int row = m_draft.addItem(it.itId, it.sclass, it.itName, it.itAmt);
    refreshGrid(row);
    recalcTotals();
}

void PosScreen::setItemColor(qint64 itId, const QColor &color)
{
    const qint64 stored = storedColor(color);
    if (!guard(m_ui, DbAction::Update, [&] { setGoodsItemColor(m_ui.app.main, itId, stored); }))
        return;
    for (PosItem &it : m_items)
        if (it.itId == itId)
            it.color = stored;
    refreshItemButtons();
}

void PosScreen::showColorPalette(int button, const QPoint &globalPos)
{
    const QVariant id = m_itemButtons.at(button - 1)->property("itId");
    if (!id.isValid())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MnuColor"));
    const QList<QColor> &colors = paletteColors();
    for (int i = 0; i < colors.size(); ++i) {
        QPixmap swatch(28, 18);
        swatch.fill(colors.at(i));
        QAction *a = menu.addAction(QIcon(swatch), QStringLiteral("색상 %1").arg(i + 1));
        a->setData(colors.at(i));
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("기본색"))->setData(QColor());
    QAction *chosen = menu.exec(globalPos);
    if (chosen)
        setItemColor(id.toLongLong(), chosen->data().value<QColor>());
}

// --- grid and totals -----------------------------------------------------------------

int PosScreen::currentRow() const
{
    const int row = m_grid->currentRow();
    if (row >= 0 && row < m_draft.size())
        return row;
    return m_draft.isEmpty() ? -1 : m_draft.size() - 1;
}

void PosScreen::refreshGrid(int current)
{
    QList<QStringList> rows;
    QVariantList keys;
    for (const SaleLine &l : m_draft.lines()) {
        rows << QStringList{l.sclass, l.itName, QString::number(l.qty), wonText(l.amount()), rateText(l.dcYul),
                            wonText(l.dcAmt), wonText(l.cost), wonText(l.gross())};
        keys << l.itId;
    }
    m_grid->setRows(rows, keys);
    if (current >= 0 && current < m_grid->rowCount())
        m_grid->setCurrentRow(current);
    else if (m_grid->rowCount() > 0)
        m_grid->setCurrentRow(m_grid->rowCount() - 1);
}

void PosScreen::recalcTotals()
{
    const SaleTotals t = m_draft.totals();
    m_pnlSum->setText(wonText(t.gross));
    m_pnlDc->setText(wonText(t.discount));
    m_pnlTot->setText(wonText(t.payable));
    if (isVoucherLoaded()) {
        m_cash->setAmount(m_loaded->cash);
        m_card->setAmount(m_loaded->card);
        showPaymentKind(m_loaded->card != 0 && m_loaded->cash == 0 ? 2 : 1);
        return;
    }
    m_cash->setAmount(t.payable);
    m_card->setAmount(0);
    showPaymentKind(1);
}

void PosScreen::showPaymentKind(int kind)
{
    m_payKind = kind;
    setSelectedLook(m_payCash, kind == 1);
    setSelectedLook(m_payCard, kind == 2);
}

void PosScreen::choosePayment(int kind)
{
    if (isVoucherLoaded())
        return;
    if (kind == 2) {
        if (m_payKind != 2) {
            m_card->setAmount(m_draft.totals().payable);
            m_cash->setAmount(0);
        }
        showPaymentKind(2);
        showCardFrame(true);
        return;
    }
    if (m_payKind != 1) {
        m_cash->setAmount(m_draft.totals().payable);
        m_card->setAmount(0);
    }
    showPaymentKind(1);
    showCardFrame(false);
}

void PosScreen::showCardFrame(bool show)
{
    if (!show) {
        const bool had = m_cardFrame->isVisible();
        m_cardFrame->hide();
        if (had)
            focusScan();
        return;
    }
    const QRect g(m_grid->mapTo(this, QPoint(0, 0)), m_grid->size());
    m_cardFrame->setGeometry(g.x() + 20, g.y() + 10, qMin(280, g.width() - 40), qMax(160, g.height() - 20));
    m_cardFrame->raise();
    m_cardFrame->show();
    m_cardGrid->setFocus(Qt::OtherFocusReason);
    const int row = m_cardGrid->findKey(m_pnlCardCo->property("code"));
    m_cardGrid->setCurrentRow(row >= 0 ? row : 0);
}

void PosScreen::chooseCardCompany(const QString &code, const QString &name)
{
    m_pnlCardCo->setText(name);
    m_pnlCardCo->setProperty("code", code);
    m_cardFrame->hide();
    m_card->setFocus(Qt::OtherFocusReason);
    m_card->selectAll();
}

void PosScreen::removeLine(int row)
{
    if (row < 0 || row >= m_draft.size())
        return;
    m_draft.removeLine(row);
    if (m_draft.isEmpty()) {
        reset();
        return;
    }
    refreshGrid(qMin(row, m_draft.size() - 1));
    recalcTotals();
}

void PosScreen::removeCurrentLine()
{
    removeLine(currentRow());
    focusScan();
}

void PosScreen::moveCurrentRow(int delta)
{
    if (m_draft.isEmpty())
        return;
    m_grid->setCurrentRow(qBound(0, currentRow() + delta, m_draft.size() - 1));
}

// --- keypad and discounts ---------------------------------------------------------

void PosScreen::keypadDigit(const QString &digits)
{
    QString t = m_pnlNum->text() + digits;
    while (t.size() > 1 && t.startsWith(QLatin1Char('0')))
        t.remove(0, 1);
    if (t.size() > 9)
        return;
    m_pnlNum->setText(t);
}

void PosScreen::keypadClear() { m_pnlNum->clear(); }

std::optional<qint64> PosScreen::keypadValue()
{
    // Digits typed into the scan box and not ended with Enter count as the
    // keypad's: the keyboard's way of using the keypad.
    const QString typed = m_scan->text().trimmed();
    bool digits = !typed.isEmpty() && typed.size() <= 9;
    for (const QChar c : typed)
        digits = digits && c.isDigit();
    QString text = m_pnlNum->text();
    if (digits) {
        text = typed;
        m_scan->clear();
    }
    m_pnlNum->clear();
    if (text.isEmpty())
        return std::nullopt;
    return text.toLongLong();
}

void PosScreen::showRefusal(const DraftResult &r)
{
    if (r)
        m_ui.msg.warn(r->text, r->title);
}

void PosScreen::applyQuantity()
{
    if (isVoucherLoaded())
        return;
    const int row = m_draft.isEmpty() ? -1 : currentRow();
    const auto v = keypadValue();
    DraftResult r;
    if (row >= 0 && !v)
        r = DraftRefusal{QStringLiteral("수량을 입력하세요"), SaleDraft::quantityTitle()};
    else
        r = m_draft.setQuantity(row, v.value_or(0));
    showRefusal(r);
    if (!r) {
        refreshGrid(row);
        recalcTotals();
    }
    focusScan();
}

void PosScreen::applyDiscountAmount()
{
    if (isVoucherLoaded())
        return;
    const int row = m_draft.isEmpty() ? -1 : currentRow();
    const DraftResult r = m_draft.setDiscountAmount(row, keypadValue().value_or(0));
    showRefusal(r);
    if (!r) {
        refreshGrid(row);
        recalcTotals();
    }
    focusScan();
}

void PosScreen::applyDiscountRate()
{
    if (isVoucherLoaded())
        return;
    const int row = m_draft.isEmpty() ? -1 : currentRow();
    const DraftResult r = m_draft.setDiscountRate(row, double(keypadValue().value_or(0)));
    showRefusal(r);
    if (!r) {
        refreshGrid(row);
        recalcTotals();
    }
    focusScan();
}

void PosScreen::applyRateButton(int index)
{
    if (isVoucherLoaded() || index < 1 || index > kRateButtons)
        return;
    const int row = m_draft.isEmpty() ? -1 : currentRow();
    const DraftResult r = m_draft.setDiscountRate(row, double(leadingNumber(QString::fromUtf8(kRateCaptions[index - 1]))));
    showRefusal(r);
    if (!r) {
        refreshGrid(row);
        recalcTotals();
    }
    focusScan();
}

void PosScreen::applyAmountButton(int index)
{
    if (isVoucherLoaded() || index < 1 || index > kAmountButtons)
        return;
    const int row = m_draft.isEmpty() ? -1 : currentRow();
    const DraftResult r = m_draft.setDiscountAmount(row, leadingNumber(QString::fromUtf8(kAmountCaptions[index - 1])));
    showRefusal(r);
    if (!r) {
        refreshGrid(row);
        recalcTotals();
    }
    focusScan();
}

// --- scan box ---------------------------------------------------------------------------

void PosScreen::scan()
{
    const QString text = m_scan->text().trimmed();
    m_scan->clear();
    if (text.isEmpty())
        return;
    const auto found = guard(m_ui, DbAction::Read, [&] { return resolveScan(m_ui.app.main, text); });
    focusScan();
    if (!found)
        return;
    switch (found->kind) {
    case ScanResult::Kind::Item:
        addItemById(found->item.itId);
        break;
    case ScanResult::Kind::Member:
        m_ui.openScreen(QStringLiteral("Menu21"), {{QStringLiteral("MbCode"), found->mbCode}});
        break;
    case ScanResult::Kind::SeveralMembers:
        m_ui.openScreen(QStringLiteral("Menu21"), {{QStringLiteral("MbCard"), found->card}});
        break;
    case ScanResult::Kind::None:
        m_ui.msg.warn(unknownScanText(), QStringLiteral("상품판매"));
        break;
    }
}

// --- saving, reprint, refund ----------------------------------------------------------

void PosScreen::complete()
{
    if (m_draft.isEmpty() || isVoucherLoaded())
        return;
    if (!checkNumberFields(this, m_ui.msg))
        return;
    m_printKind = PrintKind::Sale;
    SalePayment pay;
    pay.cash = m_cash->amount();
    pay.card = m_card->amount();
    pay.cardGubun = m_pnlCardCo->property("code").toString();
    pay.cashReceipt = m_chkCashReceipt->isChecked();
    const PosStamp stamp = posStamp(m_ui.app);
    m_ui.msg.notice(QStringLiteral("상품정보를 저장중입니다.."));
    std::optional<Outcome> o;
    {
        WaitCursor wait;
        o = guard(m_ui, DbAction::Save, [&] { return saveVoucher(m_ui.app.main, stamp, m_draft.lines(), pay); });
    }
    if (!o || !showOutcome(m_ui, *o)) {
        focusScan();
        return;
    }
    m_lastVoucher = {stamp.date, stamp.psCode, o->code};
    if (m_chkPrint->isChecked())
        printStored(m_lastVoucher, PrintKind::Sale);
    reset();
}

void PosScreen::printStored(const VoucherKey &key, PrintKind kind)
{
    const auto v = guard(m_ui, DbAction::Read, [&] { return fitrova::loadVoucher(m_ui.app.main, key); });
    if (!v || !*v)
        return;
    QString userName = m_ui.app.user.userName;
    if (key.user != m_ui.app.user.psCode)
        if (const auto n = guard(m_ui, DbAction::Read, [&] { return getUserName(m_ui.app.main, key.user); }))
            userName = *n;
    const PosReceiptData data = posReceiptData(**v, kind, m_ui.app.workstation, m_ui.app.business, userName);
    QList<ReceiptPrintResult> failures;
    {
        BusyScope busy(QStringLiteral("영수증을 출력중입니다"), this);
        failures = m_printing.printVoucher(m_ui.app, data, m_chkDrawer->isChecked());
    }
    for (const ReceiptPrintResult &f : failures)
        m_ui.msg.warn(f.text, f.title);
}

void PosScreen::reset()
{
    m_draft.clear();
    m_loaded.reset();
    m_printKind = PrintKind::Sale;
    refreshGrid();
    m_pnlNum->clear();
    m_pnlCardCo->clear();
    m_pnlCardCo->setProperty("code", QString());
    m_chkCashReceipt->setChecked(false);
    m_cardFrame->hide();
    setLoadedMode(false);
    recalcTotals();
    refreshShift();
    focusScan();
}

void PosScreen::refreshShift()
{
    // A side panel: a failure to read it leaves the last text and is logged.
    const auto shift = guardQuietly("the shift panel of the sale screen is a side display",
                                    [&] { return openShiftOf(m_ui.app.main, m_ui.app.user.psCode); });
    if (shift)
        m_pnlShift->setText(shiftText(*shift));
}

void PosScreen::setLoadedMode(bool loaded)
{
    for (QPushButton *b : m_saleOnly)
        b->setEnabled(!loaded);
    m_cash->setReadOnly(loaded);
    m_card->setReadOnly(loaded);
    m_cmdReprint->setVisible(loaded);
    m_cmdRefund->setVisible(loaded);
    m_loadedLabel->setVisible(loaded);
    if (loaded && m_loaded) {
        QString state;
        if (m_loaded->isRefund())
            state = QStringLiteral("  [환불전표]");
        else if (m_loaded->refunded)
            state = QStringLiteral("  [환불된 전표]");
        m_loadedLabel->setText(QStringLiteral("조회전표 No: %1-%2 (%3 %4)%5   재발행 F8 · 환불 F9 · 전체취소 Ctrl+Del")
                                   .arg(m_loaded->key.user, m_loaded->key.slNo, m_loaded->key.slDate, m_loaded->time,
                                        state));
    }
}

void PosScreen::openInquiry()
{
    const AppContext &ctx = m_ui.app;
    m_ui.openScreen(QStringLiteral("상품판매조회"),
                    {{QStringLiteral("UserCode"), ctx.user.psCode},
                     {QStringLiteral("Course"), ctx.workstation.posCour},
                     {QStringLiteral("sDate"), ctx.clock().today().toString(QStringLiteral("yyyy-MM-dd"))}});
}

void PosScreen::applyScreenArgs(const ScreenArgs &args)
{
    const VoucherKey key{args.value(QStringLiteral("SlDate")).toString(), args.value(QStringLiteral("SlUser")).toString(),
                         args.value(QStringLiteral("SlNo")).toString()};
    if (key.isValid())
        loadVoucher(key);
}

bool PosScreen::loadVoucher(const VoucherKey &key)
{
    if (!m_draft.isEmpty() && !isVoucherLoaded()
        && !m_ui.msg.ask(QStringLiteral("입력중인 판매자료를 지우고 조회한 전표를 불러오시겠읍니까?"),
                         QStringLiteral("전표조회")))
        return false;
    const auto v = guard(m_ui, DbAction::Read, [&] { return fitrova::loadVoucher(m_ui.app.main, key); });
    if (!v)
        return false;
    if (!*v) {
        m_ui.msg.warn(QStringLiteral("전표를 찾을수 없읍니다"), QStringLiteral("전표조회"));
        return false;
    }
    reset();
    m_loaded = **v;
    for (const SaleLine &l : m_loaded->lines)
        m_draft.appendLine(l);
    m_pnlCardCo->setText(m_loaded->cardName.isEmpty() ? m_loaded->cardGubun : m_loaded->cardName);
    m_pnlCardCo->setProperty("code", m_loaded->cardGubun);
    m_chkCashReceipt->setChecked(m_loaded->cashReceipt);
    setLoadedMode(true);
    refreshGrid(0);
    recalcTotals();
    focusScan();
    return true;
}

void PosScreen::reprint()
{
    if (!isVoucherLoaded())
        return;
    m_printKind = PrintKind::Reprint;
    const VoucherKey key = m_loaded->key;
    printStored(key, PrintKind::Reprint);
    guard(m_ui, DbAction::Update, [&] { markReprinted(m_ui.app.main, key); });
    reset();
}

void PosScreen::refund()
{
    if (!isVoucherLoaded())
        return;
    if (!m_ui.msg.ask(QStringLiteral("조회한 전표를 환불하시겠읍니까?"), refundTitle()))
        return;
    m_printKind = PrintKind::Refund;
    QList<int> seqs;
    for (const SaleLine &l : m_draft.lines())
        seqs << l.seq;
    const PosStamp stamp = posStamp(m_ui.app);
    const VoucherKey original = m_loaded->key;
    std::optional<Outcome> o;
    {
        WaitCursor wait;
        o = guard(m_ui, DbAction::Save, [&] { return saveRefund(m_ui.app.main, stamp, original, seqs); });
    }
    if (!o || !showOutcome(m_ui, *o)) {
        focusScan();
        return;
    }
    m_lastVoucher = {stamp.date, stamp.psCode, o->code};
    if (m_chkPrint->isChecked())
        printStored(m_lastVoucher, PrintKind::Refund);
    m_ui.msg.notice(QStringLiteral("환불 처리되었읍니다"));
    reset();
}

void PosScreen::openDrawer()
{
    const ReceiptPrintResult r = m_printing.openDrawer(m_ui.app);
    if (!r.ok)
        m_ui.msg.warn(r.text, r.title);
    focusScan();
}

// --- keyboard -------------------------------------------------------------------------------

void PosScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        showCardFrame(false);
        focusScan();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PosScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_scan) {
        switch (key->key()) {
        case Qt::Key_Up:
            moveCurrentRow(-1);
            return true;
        case Qt::Key_Down:
            moveCurrentRow(1);
            return true;
        case Qt::Key_Delete:
            // Ctrl+Del would delete a word here; at the counter it is 전체취소.
            if (key->modifiers() == Qt::ControlModifier) {
                reset();
                return true;
            }
            if (m_scan->text().isEmpty() && key->modifiers() == Qt::NoModifier) {
                removeCurrentLine();
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == m_cardGrid && key->key() == Qt::Key_Escape) {
        showCardFrame(false);
        return true;
    }
    const int index = m_itemButtons.indexOf(qobject_cast<QPushButton *>(watched));
    if (index >= 0) {
        int to = index;
        switch (key->key()) {
        case Qt::Key_Left: to = index - 1; break;
        case Qt::Key_Right: to = index + 1; break;
        case Qt::Key_Up: to = index - kItemColumns; break;
        case Qt::Key_Down: to = index + kItemColumns; break;
        case Qt::Key_Escape:
            focusScan();
            return true;
        default:
            return false;
        }
        if (to >= 0 && to < m_itemButtons.size() && m_itemButtons.at(to)->isVisible())
            m_itemButtons.at(to)->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace fitrova
