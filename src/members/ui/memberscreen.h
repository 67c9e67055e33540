#pragma once
// The member card (회원접수), the desk's main working screen: finding and
// registering members, their personal data and photo, everything they bought,
// their visits and points, and the start of every enrollment operation.
//
// The screen is in new-member mode until a member is shown (or saved); the
// member number of a new member is taken when it is saved, never before.

#include "members/memberhistory.h"
#include "members/memberstore.h"
#include "members/ui/memberscreenhooks.h"
#include "widgets/uicontext.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace fitrova {

class BatchQueryDialog;
class DataGrid;

class MemberScreen : public QWidget, public ScreenArgsReceiver {
    Q_OBJECT
public:
    MemberScreen(UiContext &ui, QWidget *parent = nullptr, MemberScreenHooks hooks = {});
    ~MemberScreen() override;

    // --- seams for dialogs the screen runs (tests replace them) ---------------
    // Shows the pick list over several members; the picked number or "" when closed.
    using MemberPicker = std::function<QString(const QList<MemberRecord> &)>;
    // Asks for a picture file; "" when cancelled.
    using FileChooser = std::function<QString()>;
    // The postal lookup for a district text: {postal code, address} or {} when closed.
    using PostPicker = std::function<QPair<QString, QString>(const QString &text)>;
    void setMemberPicker(MemberPicker fn) { m_picker = std::move(fn); }
    void setPhotoFileChooser(FileChooser fn) { m_fileChooser = std::move(fn); }
    void setPostPicker(PostPicker fn) { m_postPicker = std::move(fn); }
    void setHooks(MemberScreenHooks hooks) { m_hooks = std::move(hooks); }

    // --- state ------------------------------------------------------------------
    bool isMemberLoaded() const { return m_loaded; }
    QString memberCode() const { return m_member.mbCode; }
    const MemberRecord &member() const { return m_member; }
    const QList<HistoryLine> &historyLines() const { return m_lines; }
    const HistoryLine *selectedLine() const;
    HistoryButtons buttonStates() const { return m_buttons; }

    // --- actions ----------------------------------------------------------------
    // SearchData: the search kind and text of the search box.
    void searchData();
    // Puts the text into the search box with the kind and searches.
    void searchFor(MemberSearchKind kind, const QString &text);
    // Opened or raised with MbCode (a member number) or MbCard (a card
    // number): searches for that member.
    void applyScreenArgs(const ScreenArgs &args) override;
    // Shows the member of that number; false when there is none.
    bool showMember(const QString &mbCode);
    // Shows the loaded member again (after an enrollment screen saved).
    void refreshMember();
    void newMember();   // 신규
    void clearScreen(); // 화면CLEAR
    bool save();        // 저장
    void deleteMember(); // 회원삭제
    void deleteSelectedRow();   // 강좌삭제
    void deleteSelectedPoint(); // 포인트삭제
    void takePhoto();
    void loadPhotoFromFile();
    void deletePhoto();
    // Enter in the address box: the postal lookup with the typed district.
    void lookupAddress();
    // The attendance calendar of a month.
    void showCalendar(int year, int month);
    void showCalendarOfThisMonth();
    // The next page of the member's visits (더보기, or scrolling to the end).
    void showMoreVisits();
    BatchQueryDialog *openBatchQuery();
    // The enrollment commands.
    void startEnrollment(EnrollmentScreen screen);
    void modifySelected();

public:
    QSize sizeHint() const override { return QSize(990, 600); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    QPushButton *lockerButton();
    void connectUi();
    void fillLists();
    void clearInputs();
    void fillInputs(const MemberRecord &m);
    MemberRecord gatherInputs() const;
    void showHistory();
    void showPoints();
    void showAttendance();
    void showWaits();
    void cancelSelectedWait();
    void showPhoto();
    void updateButtons();
    void checkResident();
    void enterNewMode();

    UiContext &m_ui;
    MemberScreenHooks m_hooks;
    MemberPicker m_picker;
    FileChooser m_fileChooser;
    PostPicker m_postPicker;

    bool m_loaded = false;
    bool m_checkingResident = false;
    MemberRecord m_member;
    QList<HistoryLine> m_lines;
    HistoryButtons m_buttons;
    QPointer<BatchQueryDialog> m_batch;

    // search
    QComboBox *m_kind;
    QLineEdit *m_find;
    // card
    class ResidentEdit *m_resident = nullptr; // the same field as m_juno2
    class UnsavedChanges *m_unsaved = nullptr;
    QLineEdit *m_code, *m_indate, *m_name, *m_guardian, *m_card, *m_juno1, *m_juno2, *m_birth, *m_tel1, *m_tel2,
        *m_email, *m_postNo, *m_addr1, *m_addr2, *m_ext, *m_misu;
    QComboBox *m_gubun, *m_sex, *m_solor;
    QCheckBox *m_dm, *m_sms;
    QLabel *m_master, *m_age, *m_point, *m_lastDate, *m_lastTime, *m_course, *m_remain, *m_photo;
    // commands
    QPushButton *m_cmdEnroll, *m_cmdModify, *m_cmdChange, *m_cmdTransfer, *m_cmdPostpone, *m_cmdRefund, *m_cmdPay,
        *m_cmdDeleteRow, *m_cmdDeletePoint, *m_cmdDeleteMember;
    // grids
    QTabWidget *m_tabs;
    DataGrid *m_lect, *m_enter, *m_calendar, *m_points;
    // The visits shown so far: a page at a time, newest first.
    class MoreRowsBar *m_enterMore = nullptr;
    VisitCursor m_visitNext;
    qint64 m_visitTotal = 0;
    qint64 m_visitsShown = 0;
    QComboBox *m_year, *m_month;
    // the programs the member waits for
    DataGrid *m_waits = nullptr;
    QPushButton *m_cmdWaitCancel = nullptr;
    int m_waitTab = -1;
};

} // namespace fitrova
