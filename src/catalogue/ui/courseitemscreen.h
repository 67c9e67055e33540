#pragma once
// The course-item screen (강좌항목): the course items of the course group
// with the month counts that may be sold and whether an enrollment may be
// postponed, refunded or transferred. A click on a row copies it into the
// inputs; 신규 starts a new item under the next code; Delete removes an item
// no program uses.

#include "widgets/uicontext.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;

namespace fitrova {

class DataGrid;
struct CourseItem;

class CourseItemScreen : public QDialog {
    Q_OBJECT
public:
    explicit CourseItemScreen(UiContext &ui, QWidget *parent = nullptr);

    // True once something was saved or deleted.
    bool TF = false;

    DataGrid *grid() const { return m_grid; }
    bool isNewItem() const { return m_isNew; }

    void newItem();   // 신규
    bool save();      // 저장
    void reload(const QString &selectCode = {});

private:
    void showItem(const CourseItem &c);
    CourseItem inputs() const;
    void onRowChanged(int row);
    void deleteRow(int row);

    UiContext &m_ui;
    bool m_isNew = true;
    DataGrid *m_grid;
    QLineEdit *m_code, *m_name;
    std::array<QCheckBox *, 12> m_months{};
    QCheckBox *m_delay, *m_cancel, *m_transfer, *m_change;
};

} // namespace fitrova
