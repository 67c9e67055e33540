#include "sales/ui/posprinting.h"

#include "foundation/appcontext.h"
#include "foundation/inifile.h"
#include "sales/receiptprinter.h"

#include <QSettings>

namespace fitrova {

QList<ReceiptPrintResult> PosPrinting::printVoucher(const AppContext &ctx, const PosReceiptData &d,
                                                    bool drawerFirst) const
{
    QList<ReceiptPrintResult> failures;
    const IniFile ini(ctx.paths.iniFile);
    if (drawerFirst) {
        const ReceiptPrintResult r = openDrawer(ctx);
        if (!r.ok)
            failures << r;
    }
    const bool grouped = ctx.workstation.printGroup.trimmed() == QLatin1String("1");
    int printers = 0;
    for (int n : {1, 2}) {
        const auto dest = posPrinterDestination(ctx.workstation, ini, n);
        if (!dest)
            continue;
        ++printers;
        const bool system = dest->route == ReceiptRoute::System;
        const ReceiptPrintResult r =
            m_out.print(*dest, posDocuments(d, grouped, !system), posReceiptTitle(d.headTitle, d.kind, true));
        if (!r.ok)
            failures << r;
    }
    if (printers == 0)
        failures << ReceiptPrintResult{false, noPosPrinterText(), receiptPrintTitle()};
    return failures;
}

ReceiptPrintResult PosPrinting::openDrawer(const AppContext &ctx) const
{
    const auto dest = drawerDestination(ctx.workstation, IniFile(ctx.paths.iniFile));
    if (!dest)
        return {};
    return m_out.openDrawer(*dest);
}

namespace {
QSettings userSettings() { return QSettings(QStringLiteral("Fitrova"), QStringLiteral("Fitrova")); }
const QString kDrawerKey = QStringLiteral("상품판매/돈통");
} // namespace

bool drawerSettingOn()
{
    return userSettings().value(kDrawerKey, QStringLiteral("1")).toString() != QLatin1String("0");
}

void saveDrawerSetting(bool on)
{
    QSettings s = userSettings();
    s.setValue(kDrawerKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace fitrova
