#include "widgets/messages.h"

#include "widgets/busynotice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace fitrova {

namespace {

const QString kOk = QStringLiteral("확인");
const QString kYes = QStringLiteral("예");
const QString kNo = QStringLiteral("아니오");

// Builds the box with Korean button texts; the caller runs it.
void prepareBox(QMessageBox &box, const QString &text, const QString &title, QMessageBox::Icon icon)
{
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon);
    box.setTextFormat(Qt::PlainText);
    // A box sized to a short text cuts its own title ("P..."): it is made at
    // least as wide as the title with the title bar's buttons.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title) + 140;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
}

void showOkBox(QWidget *parent, const QString &text, const QString &title, QMessageBox::Icon icon)
{
    QApplication::beep();
    QMessageBox box(parent);
    prepareBox(box, text, title, icon);
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(kOk);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

} // namespace

void DesktopMessages::info(const QString &text, const QString &title)
{
    showOkBox(m_parent, text, title, QMessageBox::NoIcon);
}

void DesktopMessages::warn(const QString &text, const QString &title)
{
    showOkBox(m_parent, text, title, QMessageBox::Warning);
}

bool DesktopMessages::ask(const QString &text, const QString &title)
{
    QApplication::beep();
    QMessageBox box(m_parent);
    prepareBox(box, text, title, QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(kYes);
    box.button(QMessageBox::No)->setText(kNo);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Messages::Choice DesktopMessages::askYesNoCancel(const QString &text, const QString &title)
{
    QApplication::beep();
    QMessageBox box(m_parent);
    prepareBox(box, text, title, QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(kYes);
    box.button(QMessageBox::No)->setText(kNo);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("취소"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    const int r = box.exec();
    return r == QMessageBox::Yes ? Choice::Yes : r == QMessageBox::No ? Choice::No : Choice::Cancel;
}

void DesktopMessages::notice(const QString &text, int msecs)
{
    showBusyNotice(text, m_parent, msecs > 0 ? msecs : 1200);
}

} // namespace fitrova
