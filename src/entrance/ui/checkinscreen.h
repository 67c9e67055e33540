#pragma once
// 회원확인: the gate. The search field keeps the focus for card readers; a
// presented card shows the member with photo, enrollments and visits, takes
// the admission decision (message panel blue when admitted, red when
// refused) and writes the visit of a period member at once. The day list
// below shows the visits of the working date; the clock moves the working
// date on at midnight.

#include "entrance/checkin.h"
#include "entrance/gatelists.h"
#include "members/memberstore.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace fitrova {

class DataGrid;
class DateEdit;
class GateSounds;
class SerialCardReader;

class CheckInScreen : public QWidget {
    Q_OBJECT
public:
    explicit CheckInScreen(UiContext &ui, QWidget *parent = nullptr);
    ~CheckInScreen() override;

    // The windows the screen opens; tests replace them.
    // Check-out of a visit: returns the window's JobGubun ("S" saved).
    std::function<QString(qint64 entid)> runCheckOut;
    // Pick one of several members: the picked member code, "" for none.
    std::function<QString(const QList<MemberRecord> &members)> pickMember;
    // The item lookup: the chosen ItId, 0 for none.
    std::function<qint64()> pickItem;
    // The master-card screen.
    std::function<void()> openMasterCard;

    // 찾기 on the search kind and text shown.
    void searchData();
    // 입장 (F10): admits the displayed member without the time, postponement,
    // limit and weekday rules.
    void admit();
    // Empties the member panel, its grids and the message.
    void clearMember();
    // A card number from the reader: searched by card number.
    void presentCard(const QString &cardNo);
    // Reloads the day list of the chosen date.
    void reloadDayList();
    // One beat of the clock.
    void tick();
    // Adds the item with this bar code to the equipment grid; false when unknown.
    bool addItemByBarcode(const QString &barCode);

    QString workingDate() const { return m_workingDate; }
    QString displayedMember() const { return m_mbCode; }
    const GateDecision &lastDecision() const { return m_decision; }
    QString message() const;
    DataGrid *dayGrid() const { return m_day; }
    DataGrid *historyGrid() const { return m_history; }
    // The next page of the displayed member's visits (더보기, or scrolling
    // the visits to their end).
    void showMoreVisits();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    void showMember(const QString &mbCode);
    void fillMemberGrids();
    void handle(CheckInResult result);
    void setMessage(const QString &text, GateTone tone);
    void focusSearch();
    void checkOut(qint64 entid);
    void deleteHistoryRow(int row);
    void addItem(const GateItem &item);
    QList<qint64> itemIds() const;
    void printDayList();
    void exportDayList();

    UiContext &m_ui;
    GateOptions m_options;
    QString m_workingDate;
    QString m_mbCode;
    GateDecision m_decision;

    QComboBox *m_kind;
    QLineEdit *m_search;
    QLabel *m_date, *m_time;
    QLabel *m_photo;
    QLabel *m_name, *m_birth, *m_mobile, *m_tel, *m_addr, *m_code, *m_guardian, *m_mbGubun, *m_card, *m_ext,
        *m_sex, *m_solor, *m_age;
    QLabel *m_msg;
    DataGrid *m_lect, *m_history, *m_items, *m_day;
    // The member's visits shown so far: a page at a time, newest first.
    class MoreRowsBar *m_historyMore = nullptr;
    VisitCursor m_visitNext;
    qint64 m_visitTotal = 0;
    qint64 m_visitsShown = 0;
    QLineEdit *m_barcode;
    DateEdit *m_dayDate;
    QCheckBox *m_openOnly;
    QLabel *m_count;
    QTimer *m_clock;
    GateSounds *m_sounds;
    SerialCardReader *m_reader = nullptr;
    QHash<QString, QString> m_mbGubunNames;
};

} // namespace fitrova
