#include "widgets/busynotice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace fitrova {

BusyNotice::BusyNotice(const QString &text, QWidget *parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_label(new QLabel(text, this)), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("busyNotice"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xF0));
    pal.setColor(QPalette::WindowText, QColor(0x20, 0x30, 0x60));
    setPalette(pal);

    m_label->setObjectName(QStringLiteral("noticeText"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    QFont f = m_label->font();
    f.setPointSizeF(qMax(f.pointSizeF(), 10.0) + 1);
    f.setBold(true);
    m_label->setFont(f);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(28, 20, 28, 20);
    lay->addWidget(m_label);
    setMinimumSize(260, 80);

    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::close);
}

QString BusyNotice::text() const
{
    return m_label->text();
}

void BusyNotice::setText(const QString &text)
{
    m_label->setText(text);
    adjustSize();
    if (isVisible())
        m_label->repaint();
}

void BusyNotice::showCentered()
{
    adjustSize();
    QRect area;
    if (QWidget *p = parentWidget())
        area = p->window()->frameGeometry();
    if (area.isEmpty()) {
        QScreen *s = QGuiApplication::primaryScreen();
        if (s)
            area = s->availableGeometry();
    }
    if (!area.isEmpty())
        move(area.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    // Long work usually follows at once: paint now.
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyNotice::closeAfter(int msecs)
{
    if (msecs > 0)
        m_timer->start(msecs);
    else
        m_timer->stop();
}

QPointer<BusyNotice> showBusyNotice(const QString &text, QWidget *parent, int msecs)
{
    auto *n = new BusyNotice(text, parent);
    n->showCentered();
    if (msecs > 0)
        n->closeAfter(msecs);
    return n;
}

BusyScope::BusyScope(const QString &text, QWidget *parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_notice = showBusyNotice(text, parent, 0);
}

BusyScope::~BusyScope()
{
    if (m_notice)
        m_notice->close();
    QApplication::restoreOverrideCursor();
}

void BusyScope::setText(const QString &text)
{
    if (m_notice)
        m_notice->setText(text);
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace fitrova
