#include "uitest.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QTimer>

namespace fitrova::test {

namespace {

const char *const kSeenProperty = "fitrovaModalSeen";

struct Pending {
    detail::ModalExpectation expectation;
    QByteArray testFunction; // the test function that expected it
};

class ModalWatch : public QObject {
public:
    QList<Pending> pending;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::Show || !o->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(o);
        // Dialogs run with exec() are application modal; a dialog opened
        // with open() is window modal and does not block the test.
        if (!w->isWindow() || w->windowModality() != Qt::ApplicationModal || w->property(kSeenProperty).toBool())
            return false;
        w->setProperty(kSeenProperty, true);
        const int level = QThread::currentThread()->loopLevel();
        QTimer::singleShot(0, this, [this, p = QPointer<QWidget>(w), level] { handle(p, level); });
        return false;
    }

private:
    void handle(const QPointer<QWidget> &w, int shownAtLevel)
    {
        if (!w || !w->isVisible())
            return;
        // Shown but not blocking anyone (no loop of its own): nothing to do.
        if (QThread::currentThread()->loopLevel() <= shownAtLevel)
            return;
        const QByteArray current = QTest::currentTestFunction() ? QByteArray(QTest::currentTestFunction()) : QByteArray();
        while (!pending.isEmpty() && pending.first().testFunction != current) {
            qWarning("a dialog expected in %s never appeared", pending.first().testFunction.constData());
            pending.removeFirst();
        }
        if (pending.isEmpty()) {
            const QByteArray msg = "unexpected modal window: " + describeWindow(w).toUtf8();
            QTest::qFail(msg.constData(), __FILE__, __LINE__);
        } else {
            const Pending next = pending.takeFirst();
            const detail::ModalExpectation &e = next.expectation;
            if (w->inherits(e.type->className()) && (e.objectName.isEmpty() || w->objectName() == e.objectName)) {
                e.handler(w);
            } else {
                const QByteArray wanted = e.objectName.isEmpty() ? QByteArray(e.type->className())
                                                                 : e.objectName.toUtf8();
                const QByteArray msg = "expected a " + wanted + ", got: " + describeWindow(w).toUtf8();
                QTest::qFail(msg.constData(), e.where.file_name(), int(e.where.line()));
            }
        }
        close(w);
    }

    static void close(const QPointer<QWidget> &w)
    {
        if (!w || !w->isVisible())
            return;
        if (auto *d = qobject_cast<QDialog *>(w.data()))
            d->reject();
        else
            w->close();
    }
};

ModalWatch *watch()
{
    static ModalWatch *w = nullptr;
    if (!w && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        w = new ModalWatch;
        w->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(w);
    }
    return w;
}

} // namespace

namespace detail {
void expectModal(ModalExpectation e)
{
    ModalWatch *w = watch();
    if (!w)
        qFatal("expectModal needs a QApplication");
    w->pending.append({std::move(e), QByteArray(QTest::currentTestFunction())});
}
} // namespace detail

int pendingModals()
{
    const ModalWatch *w = watch();
    return w ? int(w->pending.size()) : 0;
}

QString describeWindow(const QWidget *w)
{
    QString text;
    if (const auto *box = qobject_cast<const QMessageBox *>(w))
        text = box->text();
    return QStringLiteral("%1 \"%2\" (%3)%4")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), w->objectName(),
             text.isEmpty() ? QString() : QStringLiteral(": ") + text);
}

QString toolOutput(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

void shoot(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("FITROVA_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    w.resize(1024, 768);
    w.show();
    // Layouts settle over a few turns of the event loop (a chart's axes last).
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    w.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace fitrova::test

namespace {
// The watch starts with the application of every screen test.
void startModalWatch() { fitrova::test::pendingModals(); }
} // namespace
Q_COREAPP_STARTUP_FUNCTION(startModalWatch)
