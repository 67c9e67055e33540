#pragma once
// The member pick list (회원조회): the members a search found, with header
// sorting; 회원선택 or a double click takes the current member (MbCode, TF
// true), 닫기 leaves TF false.

#include "members/memberstore.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <QList>

class QLabel;

namespace fitrova {

class DataGrid;

class MemberPickDialog : public QDialog {
    Q_OBJECT
public:
    // found: how many the search found in all, when it is more than the
    // members shown (the first ones of a broad search); told under the list.
    MemberPickDialog(UiContext &ui, const QList<MemberRecord> &members, QWidget *parent = nullptr,
                     qint64 found = -1);

    // "12 명", or "1,234 명 중 200 명" when the list shows part of what was found.
    static QString countText(qint64 shown, qint64 found);

    QString MbCode;
    bool TF = false;

    DataGrid *grid() const { return m_grid; }
    // Takes the current row; false when there is none.
    bool pickCurrent();

    static QStringList headers();
    static QStringList cells(const MemberRecord &m);

private:
    void showCurrentPhoto();

    UiContext &m_ui;
    DataGrid *m_grid;
    QLabel *m_photo;
};

} // namespace fitrova
