#pragma once
// The shape of every pick list: search inputs on top, a grid of candidates,
// and 선택 / 닫기. A double click, Enter on a row or 선택 picks the current
// row: its key is kept, TF is set and the dialog closes accepted; 닫기 closes
// it with TF false.
//
// A subclass adds its search inputs to searchLayout(), fills the grid in
// search() with one key per row and reads what it needs of the picked row.

#include <QDialog>
#include <QVariant>

class QHBoxLayout;

namespace fitrova {

class DataGrid;

class PickListDialog : public QDialog {
    Q_OBJECT
public:
    explicit PickListDialog(QWidget *parent = nullptr);

    bool TF = false;
    QVariant pickedKey() const { return m_key; }
    int pickedRow() const { return m_row; }
    DataGrid *grid() const { return m_grid; }

    // Fills the grid for the current search inputs.
    virtual void search() = 0;
    // Picks the current row; false when there is none.
    bool pickCurrent();

protected:
    QHBoxLayout *searchLayout() const { return m_search; }

private:
    DataGrid *m_grid;
    QHBoxLayout *m_search;
    QVariant m_key;
    int m_row = -1;
};

} // namespace fitrova
