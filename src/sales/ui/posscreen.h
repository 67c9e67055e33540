#pragma once
// The point of sale (상품판매): class and item buttons with paging, the sale
// grid, the keypad with 수량/금액/할인, discount buttons, totals, cash and card
// with the card companies, the cash receipt tick, 완료, 전체취소, line removal,
// a voucher read back from the sales inquiry for 재발행 or 환불, the cash
// drawer, item colours by right click, the user's shift, the POS number,
// user, date and a running clock, and the scan box for bar codes and member
// cards. Every action has its key, shown on its button.

#include "sales/saledraft.h"
#include "sales/poscatalogue.h"
#include "sales/posreceipt.h"
#include "sales/voucher.h"
#include "sales/ui/posprinting.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace fitrova {

class DataGrid;
class MoneyEdit;
class ScanCatcher;

class PosScreen : public QWidget, public ScreenArgsReceiver {
    Q_OBJECT
public:
    static constexpr int kClassButtons = 10; // per page; button 11 shows every item
    static constexpr int kItemColumns = 4;
    static constexpr int kItemRows = 5;
    static constexpr int kItemButtons = kItemColumns * kItemRows;

    explicit PosScreen(UiContext &ui, QWidget *parent = nullptr);
    ~PosScreen() override;

    // SlNo, SlDate and SlUser of a voucher picked in the sales inquiry load it.
    void applyScreenArgs(const ScreenArgs &args) override;

    void setPrinting(const PosPrinting &p) { m_printing = p; }
    ScanCatcher *scanCatcher() const { return m_catcher; }

    // --- state -------------------------------------------------------------------
    const SaleDraft &draft() const { return m_draft; }
    int currentRow() const;
    bool isVoucherLoaded() const { return m_loaded.has_value(); }
    const std::optional<StoredVoucher> &loadedVoucher() const { return m_loaded; }
    PrintKind printKind() const { return m_printKind; }
    const QList<PosClass> &classes() const { return m_classes; }
    const QList<PosItem> &items() const { return m_items; }
    int classPage() const { return m_classPage; }
    int itemPage() const { return m_itemPage; }
    int itemPageCount() const;
    // The key of the last voucher written here (sale or refund).
    const VoucherKey &lastVoucher() const { return m_lastVoucher; }

    // --- actions -----------------------------------------------------------------
    void selectClass(int button);     // 1 … 10 on the current class page, 11 every item
    void showClassPage(int page);
    void showItemPage(int page);
    void pressItem(int button);       // 1 … 20 on the current item page
    void addItemById(qint64 itId);
    void scan();                      // what the scan box holds
    void keypadDigit(const QString &digits);
    void keypadClear();
    void applyQuantity();             // 수량
    void applyDiscountAmount();       // 금액
    void applyDiscountRate();         // 할인
    void applyRateButton(int index);  // 1 … 5
    void applyAmountButton(int index);// 1 … 4
    void choosePayment(int kind);     // 1 cash, 2 card
    void chooseCardCompany(const QString &code, const QString &name);
    void removeLine(int row);
    void removeCurrentLine();
    void complete();                  // 완료
    void reset();                     // 전체취소
    void openInquiry();               // 조회
    bool loadVoucher(const VoucherKey &key);
    void reprint();                   // 재발행
    void refund();                    // 환불
    void openDrawer();                // 돈통
    void setItemColor(qint64 itId, const QColor &color);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    QWidget *buildTopBar();
    QWidget *buildButtonPanel();
    QWidget *buildSalePanel();
    void installShortcuts();
    void loadStart();
    void refreshClassButtons();
    void refreshItemButtons();
    void refreshGrid(int current = -1);
    void recalcTotals();
    void showPaymentKind(int kind);
    void setLoadedMode(bool loaded);
    void showRefusal(const DraftResult &r);
    std::optional<qint64> keypadValue();
    void printStored(const VoucherKey &key, PrintKind kind);
    void showColorPalette(int button, const QPoint &globalPos);
    void updateClock();
    void refreshShift();
    void focusScan();
    void showCardFrame(bool show);
    void moveCurrentRow(int delta);

    UiContext &m_ui;
    PosPrinting m_printing;
    SaleDraft m_draft;
    std::optional<StoredVoucher> m_loaded;
    PrintKind m_printKind = PrintKind::Sale;
    VoucherKey m_lastVoucher;
    int m_payKind = 1;

    QList<PosClass> m_classes;
    int m_classPage = 0;
    std::optional<PosClass> m_class; // nullopt: every item
    QList<PosItem> m_items;
    int m_itemPage = 0;
    QList<CardCompany> m_cards;

    QLineEdit *m_scan = nullptr;
    QLabel *m_pnlPos = nullptr, *m_pnlUser = nullptr, *m_pnlDate = nullptr, *m_pnlTime = nullptr;
    QLabel *m_pnlShift = nullptr;
    QList<QPushButton *> m_classButtons; // 1 … 10, then 11
    QPushButton *m_classPrev = nullptr, *m_classNext = nullptr;
    QList<QPushButton *> m_itemButtons;
    QPushButton *m_itemPrev = nullptr, *m_itemNext = nullptr;
    QLabel *m_itemPageLabel = nullptr;
    DataGrid *m_grid = nullptr;
    QLabel *m_pnlSum = nullptr, *m_pnlDc = nullptr, *m_pnlTot = nullptr;
    QLabel *m_pnlNum = nullptr;
    QLabel *m_loadedLabel = nullptr;
    QPushButton *m_payCash = nullptr, *m_payCard = nullptr;
    MoneyEdit *m_cash = nullptr, *m_card = nullptr;
    QLabel *m_pnlCardCo = nullptr;
    QFrame *m_cardFrame = nullptr;
    DataGrid *m_cardGrid = nullptr;
    QCheckBox *m_chkCashReceipt = nullptr, *m_chkPrint = nullptr, *m_chkDrawer = nullptr;
    QList<QPushButton *> m_saleOnly; // disabled while a voucher is loaded
    QPushButton *m_cmdReprint = nullptr, *m_cmdRefund = nullptr;
    QTimer *m_clock = nullptr;
    ScanCatcher *m_catcher = nullptr;
};

} // namespace fitrova
