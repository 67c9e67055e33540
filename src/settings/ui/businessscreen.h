#pragma once
// Business details (사업장등록): the centre's name, registration number,
// address, telephone and fax, and its representative. The name and the
// telephone are printed on receipts; the name also stands in the caption.

#include "widgets/uicontext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace fitrova {

class BusinessScreen : public QWidget {
    Q_OBJECT
public:
    explicit BusinessScreen(UiContext &ui, QWidget *parent = nullptr);

    // Fills the fields from the stored row.
    void load();
    // Saves the fields; true when stored (the screen then closes).
    bool save();

private:
    UiContext &m_ui;
    QLineEdit *m_name, *m_bizNo, *m_address, *m_postCode, *m_tel, *m_fax, *m_ceo;
    QPushButton *m_save, *m_close;
};

} // namespace fitrova
