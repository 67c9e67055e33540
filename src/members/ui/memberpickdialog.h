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
    MemberPickDialog(UiContext &ui, const QList<MemberRecord> &members, QWidget *parent = nullptr);

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
