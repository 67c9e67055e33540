#include "shell/ui/lookandfeel.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace fitrova {

void setupLookAndFeel(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QFont f(QStringLiteral("NanumGothic"));
    f.setPointSize(10);
    QApplication::setFont(f);
    // Korean texts of the standard dialogs and buttons.
    auto *qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

} // namespace fitrova
