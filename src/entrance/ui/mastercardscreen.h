#pragma once
// 마스터카드: finds a member and marks (등록) or clears (해제) the master card.

#include "members/memberstore.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace fitrova {

class MasterCardScreen : public QWidget {
    Q_OBJECT
public:
    explicit MasterCardScreen(UiContext &ui, QWidget *parent = nullptr);

    // Pick one of several members: the picked code, "" for none. Tests replace it.
    std::function<QString(const QList<MemberRecord> &members)> pickMember;

    void searchData();
    void mark(bool master);
    QString displayedMember() const { return m_mbCode; }

private:
    void showMember(const MemberRecord &m);
    void clearMember();

    UiContext &m_ui;
    QString m_mbCode;
    QComboBox *m_kind;
    QLineEdit *m_search;
    QLabel *m_code, *m_name, *m_mobile, *m_tel, *m_card, *m_juno1, *m_juno2, *m_master;
};

} // namespace fitrova
