// The configuration file: names without regard to case, values as written.

#include "foundation/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace fitrova;

class TestIniFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString write(const QByteArray &content)
    {
        const QString path = dir.filePath(QStringLiteral("Bin/Pginfo.Ini"));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    static int modeOf(const QString &path)
    {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private Q_SLOTS:
    void readsIgnoringCase_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as written") << "DATABASE" << "ServerPath" << "/srv/Brenmoor/Data";
        QTest::newRow("lower-case names") << "database" << "serverpath" << "/srv/Brenmoor/Data";
        QTest::newRow("value case kept") << "Database" << "TYPE" << "access";
        QTest::newRow("blanks around =") << "DATABASE" << "Name" << "fitrova main";
        QTest::newRow("quoted value keeps blanks") << "DATABASE" << "Class" << " 센터 ";
        QTest::newRow("missing key") << "DATABASE" << "NetWork" << "";
        QTest::newRow("missing section") << "SMS" << "Type" << "";
        QTest::newRow("key of another section") << "OTHER" << "ServerPath" << "";
        QTest::newRow("commented key") << "DATABASE" << "Source" << "";
    }
    void readsIgnoringCase()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = write("\xEF\xBB\xBF[DataBase]\r\nType=access\r\nServerPath=/srv/Brenmoor/Data\r\n"
                                   "Name =  fitrova main \r\nClass=\" \xEC\x84\xBC\xED\x84\xB0 \"\r\n;Source=x\r\n"
                                   "[Other]\r\nUser=u\r\n");
        QCOMPARE(IniFile(path).value(section, key), expected);
    }

    void missingFileReadsEmpty()
    {
        QCOMPARE(IniFile(dir.filePath(QStringLiteral("none.ini"))).value(QStringLiteral("DATABASE"), QStringLiteral("Type")),
                 QString());
    }

    void writesInPlaceAndKeepsOtherLines()
    {
        const QString path = write("; site settings\n[DATABASE]\nTYPE=ACCESS\nServerPath=/data\n\n[SMS]\nType=LOCAL\n");
        const IniFile ini(path);
        QVERIFY(ini.setValue(QStringLiteral("database"), QStringLiteral("ServerPath"), QStringLiteral("/mnt/Share/Dbs")));
        QVERIFY(ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK"), QStringLiteral("NO")));
        QVERIFY(ini.setValue(QStringLiteral("NEW"), QStringLiteral("Key"), QStringLiteral("값")));
        QCOMPARE(QString::fromUtf8(read(path)),
                 QStringLiteral("; site settings\n[DATABASE]\nTYPE=ACCESS\nServerPath=/mnt/Share/Dbs\nUPDATECHECK=NO\n\n"
                                "[SMS]\nType=LOCAL\n\n[NEW]\nKey=값\n"));
        QCOMPARE(ini.value(QStringLiteral("SMS"), QStringLiteral("type")), QStringLiteral("LOCAL"));
    }

    void writingCreatesTheFile()
    {
        const IniFile ini(dir.filePath(QStringLiteral("fresh/Bin/Pginfo.Ini")));
        QVERIFY(ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QStringLiteral("YES")));
        QVERIFY(ini.exists());
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("network")), QStringLiteral("YES"));
    }

    void fileThatDoesNotReadCleanlyIsNeverRewritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("Korean code page") << QByteArray("[DATABASE]\r\nServerPath=D:\\\xBC\xBE\xC5\xCD\r\nType=ACCESS\r\n");
        QTest::newRow("NUL bytes") << QByteArray("[DATABASE]\nType=ACCESS\n\0\0\0\0", 28);
        QTest::newRow("damaged bytes") << QByteArray("[DATABASE]\nType=ACCESS\n\xFF\xFE\x80garbage\n");
    }
    void fileThatDoesNotReadCleanlyIsNeverRewritten()
    {
        QFETCH(QByteArray, content);
        const QString path = write(content);
        const IniFile ini(path);
        QVERIFY(!ini.readsCleanly());
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("Type")), QStringLiteral("ACCESS"));
        QVERIFY(!ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QStringLiteral("YES")));
        QCOMPARE(read(path), content);
    }

    void rewriteKeepsTheFilesForm()
    {
        // Line ends and the byte order mark of a file written on Windows.
        const QString path = write("\xEF\xBB\xBF[DATABASE]\r\nType=ACCESS\r\n");
        QVERIFY(IniFile(path).setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QStringLiteral("YES")));
        QCOMPARE(read(path), QByteArray("\xEF\xBB\xBF[DATABASE]\r\nType=ACCESS\r\nNetWork=YES\r\n"));
    }

    void permissions()
    {
        // A new file holds the database password: its owner's alone.
        const IniFile fresh(dir.filePath(QStringLiteral("perm/Bin/Pginfo.Ini")));
        QVERIFY(fresh.setValue(QStringLiteral("DATABASE"), QStringLiteral("Password"), QStringLiteral("secret")));
        QCOMPARE(modeOf(fresh.path()), 0600);
        // A file whose rights were set by hand keeps them.
        const QString shared = write("[DATABASE]\nType=ACCESS\n");
        QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 0640), 0);
        QVERIFY(IniFile(shared).setValue(QStringLiteral("DATABASE"), QStringLiteral("NetWork"), QStringLiteral("NO")));
        QCOMPARE(modeOf(shared), 0640);
    }

    void newlinesInValuesCannotAddKeys()
    {
        const IniFile ini(write("[DATABASE]\nType=ACCESS\n"));
        QVERIFY(ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Class"), QStringLiteral("a\nType=SQL")));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("Type")), QStringLiteral("ACCESS"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
