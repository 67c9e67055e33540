#include "widgets/unsavedchanges.h"

#include "widgets/datagrid.h"
#include "widgets/messages.h"
#include "widgets/residentedit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace fitrova {

UnsavedChanges::UnsavedChanges(QWidget *screen, Messages &msg, std::function<bool()> save)
    : QObject(screen), m_screen(screen), m_msg(msg), m_save(std::move(save))
{
    setObjectName(QStringLiteral("unsavedChanges"));
    screen->installEventFilter(this);
    markClean();
}

void UnsavedChanges::ignore(QWidget *input)
{
    m_ignored.insert(input);
    markClean();
}

void UnsavedChanges::watch(DataGrid *grid)
{
    m_grids.append(grid);
    markClean();
}

void UnsavedChanges::markClean()
{
    m_clean = snapshot();
}

bool UnsavedChanges::isDirty() const
{
    if (m_dirty)
        return m_dirty();
    return snapshot() != m_clean;
}

QStringList UnsavedChanges::snapshot() const
{
    QStringList values;
    const auto children = m_screen->findChildren<QWidget *>();
    for (const QWidget *w : children) {
        if (m_ignored.contains(w))
            continue;
        // Editors inside grids, spin boxes and combo boxes belong to those.
        bool inner = false;
        for (const QWidget *p = w->parentWidget(); p && p != m_screen; p = p->parentWidget())
            if (qobject_cast<const QAbstractItemView *>(p) || qobject_cast<const QAbstractSpinBox *>(p) ||
                qobject_cast<const QComboBox *>(p) || m_ignored.contains(p))
                inner = true;
        if (inner)
            continue;
        if (const auto *r = qobject_cast<const ResidentEdit *>(w))
            values << r->fullText();
        else if (const auto *e = qobject_cast<const QLineEdit *>(w))
            values << (e->isReadOnly() ? QString() : e->text());
        else if (const auto *c = qobject_cast<const QComboBox *>(w))
            values << c->currentText();
        else if (const auto *b = qobject_cast<const QAbstractButton *>(w); b && b->isCheckable())
            values << (b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        else if (const auto *s = qobject_cast<const QAbstractSpinBox *>(w))
            values << s->text();
        else if (const auto *p = qobject_cast<const QPlainTextEdit *>(w); p && !p->isReadOnly())
            values << p->toPlainText();
        else if (const auto *t = qobject_cast<const QTextEdit *>(w); t && !t->isReadOnly())
            values << t->toPlainText();
    }
    for (const DataGrid *g : m_grids)
        for (int r = 0; r < g->rowCount(); ++r)
            for (int c = 0; c < g->columnCount(); ++c)
                values << g->cell(r, c);
    return values;
}

bool UnsavedChanges::confirmClose()
{
    if (m_asking)
        return true;
    for (DataGrid *g : std::as_const(m_grids))
        g->commitEdits(); // a cell still being typed counts
    if (!isDirty())
        return true;
    m_asking = true;
    const Messages::Choice c = m_msg.askYesNoCancel(questionText(), m_screen->windowTitle());
    bool close = c == Messages::Choice::No;
    if (c == Messages::Choice::Yes)
        close = m_save && m_save();
    if (close)
        markClean();
    m_asking = false;
    return close;
}

void UnsavedChanges::markCleanOf(QWidget *screen)
{
    if (auto *u = screen ? screen->findChild<UnsavedChanges *>(QString(), Qt::FindDirectChildrenOnly) : nullptr)
        u->markClean();
}

bool UnsavedChanges::mayClose(QWidget *screen)
{
    if (!screen)
        return true;
    auto *u = screen->findChild<UnsavedChanges *>(QString(), Qt::FindDirectChildrenOnly);
    return !u || u->confirmClose();
}

bool UnsavedChanges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_screen) {
        if (event->type() == QEvent::Close) {
            if (!confirmClose()) {
                event->ignore();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress && qobject_cast<QDialog *>(m_screen)) {
            const auto *k = static_cast<QKeyEvent *>(event);
            if (k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier && !confirmClose())
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fitrova
