#pragma once
// Every file and folder the program uses, derived from the install folder and
// the shared data folder (ServerPath).

#include <QString>

namespace fitrova {

struct Paths {
    QString installDir;   // no trailing slash
    QString serverPath;   // shared data folder, no trailing slash
    QString iniFile;      // Bin/Pginfo.Ini
    QString mainDb, entDb, postDb, pointDb, printDb;
    QString memberPicDir; // ends with '/'
    QString picMenuDir, picItemDir, excelDir, localDbDir;
    QString loginPicture, mainBackground;
    QString inOkWav, errorWav;
    QString updateIni;    // InitUpdate.ini

    // Install folder: $BRENMOOR_HOME, else ~/Brenmoor.
    static QString defaultInstallDir();
    static QString iniPathFor(const QString &installDir);
    static Paths derive(const QString &installDir, const QString &serverPath);
};

} // namespace fitrova
