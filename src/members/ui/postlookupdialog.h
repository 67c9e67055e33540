#pragma once
// The postal-code lookup (우편번호조회): Enter in the district box searches
// the postal database; 선택 or a double click takes the current row's postal
// code and address (TF true), 닫기 leaves TF false.

#include "members/postlookup.h"
#include "widgets/uicontext.h"

#include <QDialog>

class QLineEdit;

namespace fitrova {

class DataGrid;

class PostLookupDialog : public QDialog {
    Q_OBJECT
public:
    // withRi: the lookup window's own search (with the RI column); the member
    // card's address box searches without it. A non-empty text is searched at once.
    PostLookupDialog(UiContext &ui, bool withRi, const QString &text = {}, QWidget *parent = nullptr);

    bool TF = false;
    QString postNo() const { return m_postNo; }
    QString address() const { return m_address; }

    void search();
    bool pickCurrent();
    DataGrid *grid() const { return m_grid; }
    int rowCount() const;

private:
    UiContext &m_ui;
    bool m_withRi;
    QLineEdit *m_text;
    DataGrid *m_grid;
    QList<PostRow> m_rows;
    QString m_postNo, m_address;
};

} // namespace fitrova
