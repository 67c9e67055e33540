#pragma once
// A receipt on screen before it goes to the printer: the same receipt the
// printer gets, drawn as the system printer draws it (fixed-width font, bold
// and double-size lines, alignment), on a strip as wide as receipt paper.

#include "sales/receipt.h"

#include <QDialog>
#include <QImage>

namespace fitrova {

// The receipt drawn under its title on white, `width` pixels wide.
QImage receiptPicture(const Receipt &receipt, const QString &title, int width = 340);

class ReceiptPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ReceiptPreviewDialog(const Receipt &receipt, const QString &title, QWidget *parent = nullptr);
    // The printed lines shown (the receipt's own).
    const QStringList &lines() const { return m_lines; }
    // True when 인쇄 was pressed.
    bool printRequested() const { return m_print; }

private:
    QStringList m_lines;
    bool m_print = false;
};

} // namespace fitrova
