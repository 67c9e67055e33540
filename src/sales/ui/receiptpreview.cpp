#include "sales/ui/receiptpreview.h"

#include "widgets/controls.h"

#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace fitrova {

QImage receiptPicture(const Receipt &receipt, const QString &title, int width)
{
    QFont base(QStringLiteral("NanumGothicCoding"));
    base.setStyleHint(QFont::TypeWriter);
    base.setPixelSize(13);
    const QList<Receipt::PlainLine> lines = receipt.plainLines();
    auto fontOf = [&](Receipt::Style s) {
        QFont f = base;
        if (s == Receipt::Style::Bold)
            f.setBold(true);
        else if (s == Receipt::Style::DoubleHeight || s == Receipt::Style::DoubleWidth)
            f.setPixelSize(base.pixelSize() * 2);
        return f;
    };
    QFont titleFont = base;
    titleFont.setBold(true);
    titleFont.setPixelSize(17);
    const int margin = 12;
    int height = margin * 2 + QFontMetrics(titleFont).height() * 2;
    for (const Receipt::PlainLine &l : lines)
        height += QFontMetrics(fontOf(l.style)).height();

    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    const int w = width - 2 * margin;
    int y = margin;
    p.setFont(titleFont);
    const int th = QFontMetrics(titleFont).height();
    p.drawText(QRect(margin, y, w, th), Qt::AlignHCenter | Qt::AlignVCenter, title);
    y += th * 2;
    for (const Receipt::PlainLine &l : lines) {
        const QFont f = fontOf(l.style);
        p.setFont(f);
        const int h = QFontMetrics(f).height();
        const Qt::Alignment a = l.align == 1 ? Qt::AlignHCenter : l.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
        p.drawText(QRect(margin, y, w, h), a | Qt::AlignVCenter, l.text);
        y += h;
    }
    return img;
}

ReceiptPreviewDialog::ReceiptPreviewDialog(const Receipt &receipt, const QString &title, QWidget *parent)
    : QDialog(parent), m_lines(receipt.lines())
{
    setObjectName(QStringLiteral("영수증미리보기"));
    setWindowTitle(QStringLiteral("영수증 미리보기"));
    auto *paper = new QLabel(this);
    paper->setObjectName(QStringLiteral("PicReceipt"));
    paper->setPixmap(QPixmap::fromImage(receiptPicture(receipt, title)));
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(paper);
    scroll->setAlignment(Qt::AlignHCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 72);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttonRow({cmdPrint, cmdClose}));
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        m_print = true;
        accept();
    });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(400, 600);
}

} // namespace fitrova
