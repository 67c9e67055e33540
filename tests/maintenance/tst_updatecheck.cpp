// The update check: configuration, folder macros, the download from a server
// on loopback and the comparison with the files on disk; starting the updater.

#include "foundation/inifile.h"
#include "maintenance/updatecheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace fitrova;

namespace {

// Answers HTTP/1.1 GET requests from a table of path → body; other paths get 404.
class TinyHttpServer : public QObject {
public:
    TinyHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    void serve(const QString &path, const QByteArray &body) { m_files.insert(path, body); }
    int requests() const { return m_requests; }

private:
    void answer(QTcpSocket *s)
    {
        QByteArray &buf = m_buffers[s];
        buf += s->readAll();
        if (!buf.contains("\r\n\r\n"))
            return;
        ++m_requests;
        const QList<QByteArray> first = buf.left(buf.indexOf("\r\n")).split(' ');
        const QString path = first.size() > 1 ? QString::fromUtf8(first[1]) : QString();
        m_buffers.remove(s);
        QByteArray reply;
        if (first.value(0) == "GET" && m_files.contains(path)) {
            const QByteArray body = m_files.value(path);
            reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
                + "\r\nConnection: close\r\n\r\n" + body;
        } else {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        s->write(reply);
        s->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, QByteArray> m_files;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    int m_requests = 0;
};

const QDateTime kStamp(QDate(2024, 5, 1), QTime(10, 20, 30));

void writeFile(const QString &path, const QByteArray &content, const QDateTime &mtime = kStamp)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(mtime, QFileDevice::FileModificationTime));
}

} // namespace

class TestUpdateCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    UpdateCheckOptions optionsFor(quint16 port, const QString &path = QStringLiteral("/list/update.ini"))
    {
        const QString install = m_dir.filePath(QStringLiteral("install"));
        QDir().mkpath(install + QStringLiteral("/Bin"));
        Paths paths = Paths::derive(install, install);
        const IniFile ini(paths.updateIni);
        QFile::remove(paths.updateIni);
        ini.setValue(QStringLiteral("UPDATE"), QStringLiteral("URL"), QStringLiteral("127.0.0.1"));
        ini.setValue(QStringLiteral("UPDATE"), QStringLiteral("PORT"), QString::number(port));
        ini.setValue(QStringLiteral("UPDATE"), QStringLiteral("PATH"), path);
        UpdateCheckOptions o = updateCheckOptionsFor(paths, m_dir.filePath(QStringLiteral("app")));
        o.timeoutMs = 3000;
        return o;
    }

private Q_SLOTS:
    void configuration_data()
    {
        QTest::addColumn<QString>("content"); // "-" no file
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("port");
        QTest::newRow("no file") << "-" << false << 0;
        QTest::newRow("complete") << "[UPDATE]\nURL=upd.example.com\nPORT=8080\nPATH=/u/list.ini\n" << true << 8080;
        QTest::newRow("port abc") << "[UPDATE]\nURL=upd.example.com\nPORT=abc\nPATH=/u/list.ini\n" << false << 0;
        QTest::newRow("port 0") << "[UPDATE]\nURL=upd.example.com\nPORT=0\nPATH=/u/list.ini\n" << false << 0;
        QTest::newRow("no URL") << "[UPDATE]\nPORT=80\nPATH=/u/list.ini\n" << false << 80;
        QTest::newRow("no PATH") << "[UPDATE]\nURL=upd.example.com\nPORT=80\n" << false << 80;
        QTest::newRow("keys in other case") << "[update]\nurl=upd.example.com\nport=80\npath=/u\n" << true << 80;
    }
    void configuration()
    {
        QFETCH(QString, content);
        QFETCH(bool, valid);
        QFETCH(int, port);
        const QString path = m_dir.filePath(QStringLiteral("cfg/InitUpdate.ini"));
        QFile::remove(path);
        if (content != QLatin1String("-"))
            writeFile(path, content.toUtf8());
        const UpdateConfig c = readUpdateConfig(path);
        QCOMPARE(c.isValid(), valid);
        QCOMPARE(c.port, port);

        // A bad configuration is reported without any network access.
        if (!valid) {
            UpdateCheckOptions o;
            o.initUpdateIni = path;
            o.listFile = m_dir.filePath(QStringLiteral("cfg/update.ini"));
            QCOMPARE(runUpdateCheck(o).status, UpdateCheckResult::Status::BadConfig);
        }
    }

    void macros_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        qputenv("TEMP", "/var/tmp/t");
        qunsetenv("SystemDrive");
        QTest::newRow("app path") << "<%APP_PATH%>" << "/opt/fitrova/bin";
        QTest::newRow("app path, backslashes") << "<%APP_PATH%>\\sub\\dir" << "/opt/fitrova/bin/sub/dir";
        QTest::newRow("use path, any case") << "<%use_path%>/PIC/MENU" << "/home/desk/Brenmoor/PIC/MENU";
        QTest::newRow("temp") << "<%TEMP%>\\upd" << "/var/tmp/t/upd";
        QTest::newRow("system drive is the root") << "<%SYSTEM_DRIVE%>\\opt\\x" << "/opt/x";
        QTest::newRow("program files common before program files") << "<%PROGRAM_FILES_COMMON%>/x" << "/usr/local/share/x";
        QTest::newRow("program files") << "<%PROGRAM_FILES%>/x" << "/opt/x";
        QTest::newRow("no macro") << "C:\\Brenmoor\\Bin" << "C:/Brenmoor/Bin";
    }
    void macros()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        const MacroFolders f{QStringLiteral("/opt/fitrova/bin/"), QStringLiteral("/home/desk/Brenmoor")};
        QCOMPARE(expandFolderMacros(folder, f), expected);
    }

    void listParsed()
    {
        const QString path = m_dir.filePath(QStringLiteral("parse/update.ini"));
        writeFile(path, "[Other]\nA=x,y,z,1,2024-01-01 00:00:00\n"
                        "[UpdateList]\n; comment\n"
                        "File1 = fitrova , /srv/fitrova , <%APP_PATH%> , 1234 , 2024-05-01 10:20:30\n"
                        "File2=short,entry\n"
                        "File3=InOk.Wav,/srv/InOk.Wav,<%USE_PATH%>\\Bin,99,2024-05-02 08:00:00\n");
        const QList<UpdateEntry> l = readUpdateList(path);
        QCOMPARE(l.size(), 2);
        QCOMPARE(l[0].fileName, QStringLiteral("fitrova"));
        QCOMPARE(l[0].serverLocation, QStringLiteral("/srv/fitrova"));
        QCOMPARE(l[0].size, 1234);
        QCOMPARE(l[0].modified, QStringLiteral("2024-05-01 10:20:30"));
        const MacroFolders f{QStringLiteral("/a"), QStringLiteral("/home/u/Brenmoor")};
        QCOMPARE(localPathOf(l[1], f), QStringLiteral("/home/u/Brenmoor/Bin/InOk.Wav"));
    }

    void compareWithServedList_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("waiting");
        QTest::newRow("identical") << "none" << false;
        QTest::newRow("size differs") << "size" << true;
        QTest::newRow("time differs") << "time" << true;
        QTest::newRow("file missing") << "missing" << true;
    }
    void compareWithServedList()
    {
        QFETCH(QString, change);
        QFETCH(bool, waiting);
        TinyHttpServer server;
        UpdateCheckOptions o = optionsFor(server.port());
        const QString app = o.folders.appPath;
        const QString wav = o.folders.usePath + QStringLiteral("/Bin/InOk.Wav");
        writeFile(app + QStringLiteral("/fitrova"), QByteArray(1234, 'x'));
        writeFile(wav, QByteArray(99, 'w'));
        if (change == QLatin1String("size"))
            writeFile(wav, QByteArray(98, 'w'));
        else if (change == QLatin1String("time"))
            writeFile(wav, QByteArray(99, 'w'), kStamp.addSecs(1));
        else if (change == QLatin1String("missing"))
            QFile::remove(wav);

        server.serve(QStringLiteral("/list/update.ini"),
                     "[UpdateList]\n"
                     "File1=fitrova,/srv/fitrova,<%APP_PATH%>,1234,2024-05-01 10:20:30\n"
                     "File2=InOk.Wav,/srv/InOk.Wav,<%USE_PATH%>\\Bin,99,2024-05-01 10:20:30\n");
        const UpdateCheckResult r = runUpdateCheck(o);
        QVERIFY(r.downloaded);
        QCOMPARE(server.requests(), 1);
        QVERIFY(QFileInfo(o.listFile).isFile());
        QCOMPARE(r.status == UpdateCheckResult::Status::UpdateWaiting, waiting);
        QCOMPARE(r.changedFiles, waiting ? QStringList{wav} : QStringList{});
    }

    void downloadFailuresMeanNoUpdate_data()
    {
        QTest::addColumn<bool>("serverUp");
        QTest::newRow("list not on the server") << true;
        QTest::newRow("server not reachable") << false;
    }
    void downloadFailuresMeanNoUpdate()
    {
        QFETCH(bool, serverUp);
        quint16 port;
        std::unique_ptr<TinyHttpServer> server;
        if (serverUp) {
            server = std::make_unique<TinyHttpServer>();
            port = server->port();
        } else {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            port = probe.serverPort(); // closed again: nobody listens there
        }
        UpdateCheckOptions o = optionsFor(port);
        writeFile(o.listFile, "[UpdateList]\nFile1=gone,/x,<%APP_PATH%>,1,2000-01-01 00:00:00\n");
        QElapsedTimer t;
        t.start();
        const UpdateCheckResult r = runUpdateCheck(o);
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(!r.downloaded);
        QCOMPARE(r.status, UpdateCheckResult::Status::NoUpdate);
        // An old list left on disk is not taken for a new one.
        QVERIFY(r.changedFiles.isEmpty());
    }

    void updater()
    {
        const QString app = m_dir.filePath(QStringLiteral("updater"));
        QDir().mkpath(app);
        QString error;
        QVERIFY(!startUpdater(app, QStringLiteral("/x/update.ini"), &error));
        QVERIFY(error.contains(app + QStringLiteral("/AutoUpdate")));

        const QString marker = app + QStringLiteral("/started.txt");
        writeFile(updaterPath(app), "#!/bin/sh\necho \"$1\" > \"" + marker.toUtf8() + "\"\n");
        QFile::setPermissions(updaterPath(app), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(startUpdater(app, QStringLiteral("/x/update.ini"), &error));
        QTRY_VERIFY(QFileInfo(marker).size() > 0);
        QFile f(marker);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().trimmed(), QByteArray("/x/update.ini"));
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
