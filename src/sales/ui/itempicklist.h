#pragma once
// The goods pick list (상품조회, caption "교구조회"): goods by course, small
// class, a part of the name or the whole bar code (Enter searches) and
// "사용교구만보기"; a double click, Enter or 선택 keeps the item (ItId, TF).

#include "catalogue/ui/picklistdialog.h"
#include "widgets/uicontext.h"

class QLineEdit;

namespace fitrova {

class GoodsFilterBar;

class ItemPickList : public PickListDialog {
    Q_OBJECT
public:
    explicit ItemPickList(UiContext &ui, QWidget *parent = nullptr);
    qint64 ItId = 0;
    void search() override;
    QLineEdit *searchField() const { return m_name; }
    GoodsFilterBar *filterBar() const { return m_filter; }

private:
    UiContext &m_ui;
    GoodsFilterBar *m_filter;
    QLineEdit *m_name;
};

} // namespace fitrova
