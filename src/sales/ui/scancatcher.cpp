#include "sales/ui/scancatcher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace fitrova {

namespace {

bool isPrintable(const QKeyEvent *e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString t = e->text();
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (!c.isPrint() || c.isSpace())
            return false;
    return true;
}

bool isEnter(const QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

} // namespace

ScanCatcher::ScanCatcher(QWidget *screen, QLineEdit *scanBox, std::function<void()> onScan)
    : QObject(screen), m_screen(screen), m_scanBox(scanBox), m_onScan(std::move(onScan))
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_clock = [timer] { return timer->elapsed(); };
    qApp->installEventFilter(this);
}

ScanCatcher::~ScanCatcher()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool ScanCatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_screen || !m_scanBox)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w != QApplication::focusWidget() || w == m_scanBox || !m_screen->isAncestorOf(w))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);

    auto *field = qobject_cast<QLineEdit *>(w);
    if (!field || field->isReadOnly()) {
        // Nothing here takes text: the characters start a scan in the scan box.
        if (!isPrintable(key))
            return false;
        m_scanBox->setFocus(Qt::OtherFocusReason);
        m_scanBox->insert(key->text());
        return true;
    }

    const qint64 now = m_clock();
    if (isEnter(key)) {
        const bool scan = field == m_field && m_burst.size() >= m_minLength && now - m_last <= m_maxGap;
        const QString burst = m_burst, before = m_before;
        m_burst.clear();
        m_field = nullptr;
        if (!scan)
            return false;
        field->setText(before);
        m_scanBox->setText(burst);
        m_scanBox->setFocus(Qt::OtherFocusReason);
        if (m_onScan)
            m_onScan();
        return true;
    }
    if (!isPrintable(key)) {
        if (key->key() != Qt::Key_Shift) {
            m_burst.clear();
            m_field = nullptr;
        }
        return false;
    }
    if (m_field != field || m_burst.isEmpty() || now - m_last > m_maxGap) {
        m_field = field;
        m_before = field->text();
        m_burst.clear();
    }
    m_burst += key->text();
    m_last = now;
    return false;
}

} // namespace fitrova
