#include "sales/ui/systemreceiptprinter.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace fitrova {

QString printReceiptOnPrinter(QPrinter &printer, const Receipt &receipt, const QString &title, int copies)
{
    printer.setDocName(title);
    QPainter p;
    if (!p.begin(&printer))
        return QStringLiteral("printer not ready");
    QFont base(QStringLiteral("NanumGothicCoding"));
    base.setStyleHint(QFont::TypeWriter);
    base.setPointSize(9);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int width = page.width();
    for (int c = 0; c < qMax(1, copies); ++c) {
        if (c > 0)
            printer.newPage();
        int y = 0;
        QFont titleFont = base;
        titleFont.setBold(true);
        titleFont.setPointSize(12);
        p.setFont(titleFont);
        const int th = QFontMetrics(titleFont, &printer).height();
        p.drawText(QRect(0, y, width, th), Qt::AlignHCenter | Qt::AlignVCenter, title);
        y += th * 2;
        for (const Receipt::PlainLine &l : receipt.plainLines()) {
            QFont f = base;
            if (l.style == Receipt::Style::Bold)
                f.setBold(true);
            else if (l.style == Receipt::Style::DoubleHeight || l.style == Receipt::Style::DoubleWidth)
                f.setPointSize(base.pointSize() * 2);
            p.setFont(f);
            const int h = QFontMetrics(f, &printer).height();
            if (y + h > page.height()) {
                printer.newPage();
                y = 0;
            }
            const Qt::Alignment a = l.align == 1 ? Qt::AlignHCenter : l.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
            p.drawText(QRect(0, y, width, h), a | Qt::AlignVCenter, l.text);
            y += h;
        }
    }
    p.end();
    return {};
}

ReceiptOutput::ReceiptOutput()
    : m_factory([](const ReceiptDestination &d) { return makeReceiptTransport(d); })
    , m_system([](const Receipt &r, const QString &title, int copies) -> QString {
          if (QPrinterInfo::availablePrinters().isEmpty())
              return noSystemPrinterText();
          QPrinter printer(QPrinterInfo::defaultPrinter());
          return printReceiptOnPrinter(printer, r, title, copies);
      })
{
}

ReceiptPrintResult ReceiptOutput::print(const AppContext &ctx, const Receipt &receipt, const QString &systemTitle,
                                        int copies) const
{
    const ReceiptDestination dest = receiptDestination(ctx.workstation, IniFile(ctx.paths.iniFile));
    if (dest.route == ReceiptRoute::System)
        return printOnSystem(receipt, systemTitle, copies);
    QList<Receipt> all;
    for (int i = 0; i < qMax(1, copies); ++i)
        all.append(receipt);
    return print(dest, all, systemTitle);
}

ReceiptPrintResult ReceiptOutput::print(const ReceiptDestination &dest, const QList<Receipt> &receipts,
                                        const QString &systemTitle) const
{
    if (dest.route == ReceiptRoute::System) {
        for (const Receipt &r : receipts) {
            const ReceiptPrintResult res = printOnSystem(r, systemTitle, 1);
            if (!res.ok)
                return res;
        }
        return {};
    }
    auto transport = m_factory(dest);
    if (!transport)
        return {false, QStringLiteral("영수증 프린터가 설정되지 않았읍니다"), receiptPrintTitle()};
    return sendReceipts(*transport, dest, receipts);
}

ReceiptPrintResult ReceiptOutput::openDrawer(const ReceiptDestination &dest) const
{
    auto transport = dest.route == ReceiptRoute::System ? nullptr : m_factory(dest);
    if (!transport)
        return {false, QStringLiteral("돈통이 연결된 프린터가 설정되지 않았읍니다"), drawerTitle()};
    return sendDrawerPulse(*transport, dest);
}

ReceiptPrintResult ReceiptOutput::printOnSystem(const Receipt &receipt, const QString &title, int copies) const
{
    const QString error = m_system(receipt, title, copies);
    if (error.isEmpty())
        return {};
    return {false, QStringLiteral("영수증을 프린터로 출력하지 못했읍니다.\n(%1)").arg(error), receiptPrintTitle()};
}

} // namespace fitrova
