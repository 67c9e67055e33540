#pragma once
// The item editor (상품등록Sub): add ("N", title "상품등록-(추가)") or change
// ("C", title "교구등록-(수정)") one item: course, small class, name, price,
// bar code and "사용함". Adding stays open for the next item; changing closes
// after the save.

#include "widgets/uicontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace fitrova {

class MoneyEdit;

class GoodsEditDialog : public QDialog {
    Q_OBJECT
public:
    GoodsEditDialog(UiContext &ui, const QString &jobGubun, qint64 itId, QWidget *parent = nullptr);

    QString JobGubun;
    qint64 ItId = 0;
    bool TF = false; // something was saved

    // Selects the course and small class (add mode: where the list stands).
    void preset(const QString &course, const QString &sclass);
    // DataCheck and the save; true when the item was stored.
    bool save();

signals:
    void itemSaved(qint64 itId);

private:
    void fillClasses();
    void clearForNext();

    UiContext &m_ui;
    QComboBox *m_course, *m_class;
    QLineEdit *m_name, *m_barCode;
    MoneyEdit *m_amount;
    QCheckBox *m_inUse;
};

} // namespace fitrova
