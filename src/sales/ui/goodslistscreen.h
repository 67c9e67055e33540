#pragma once
// The goods list (상품등록, caption "교구등록"): every item with its classes,
// filtered by course, small class and "사용교구만보기"; 신규 and 수정 (or a
// double click) open the editor, Delete removes an item nothing refers to;
// 분류설정 opens the goods classes; 인쇄 and 엑셀.

#include "widgets/uicontext.h"

#include <QWidget>

namespace fitrova {

class DataGrid;
class GoodsFilterBar;

class GoodsListScreen : public QWidget {
    Q_OBJECT
public:
    explicit GoodsListScreen(UiContext &ui, QWidget *parent = nullptr);
    QSize sizeHint() const override { return QSize(860, 520); }

    DataGrid *grid() const { return m_grid; }
    GoodsFilterBar *filterBar() const { return m_filter; }
    // DispSpItem: fills the list again; the item selectId becomes current.
    void dispSpItem(qint64 selectId = 0);
    // Opens the editor: add (isNew) or change the current item.
    void openEditor(bool isNew);
    // DelItem after the question; true when the item is gone.
    bool deleteCurrent();
    void printList();
    void exportList();

private:
    qint64 currentId() const;

    UiContext &m_ui;
    GoodsFilterBar *m_filter;
    DataGrid *m_grid;
};

} // namespace fitrova
