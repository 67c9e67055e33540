#include "widgets/moneyedit.h"

#include "data/text.h"
#include "widgets/messages.h"

#include <QRegularExpressionValidator>

namespace fitrova {

namespace {

QRegularExpression inputPattern(bool allowNegative)
{
    return QRegularExpression(allowNegative ? QStringLiteral("^\\s*-?[0-9,]*\\s*$")
                                            : QStringLiteral("^\\s*[0-9,]*\\s*$"));
}

} // namespace

std::optional<qint64> parseAmountText(const QString &text, bool allowNegative)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-'))) {
        if (!allowNegative)
            return std::nullopt;
        negative = true;
        t = t.mid(1).trimmed();
    }
    t.remove(QLatin1Char(','));
    if (t.isEmpty() || t.size() > 15)
        return std::nullopt;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 v = t.toLongLong();
    return negative ? -v : v;
}

MoneyEdit::MoneyEdit(QWidget *parent, const QString &objectName, const QString &fieldName, Kind kind)
    : QLineEdit(parent), m_fieldName(fieldName), m_kind(kind)
{
    if (!objectName.isEmpty())
        setObjectName(objectName);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new QRegularExpressionValidator(inputPattern(false), this));
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (const auto v = value())
            emit amountChanged(*v);
    });
    connect(this, &QLineEdit::editingFinished, this, &MoneyEdit::reformat);
}

void MoneyEdit::setAllowNegative(bool allow)
{
    m_allowNegative = allow;
    setValidator(new QRegularExpressionValidator(inputPattern(allow), this));
}

std::optional<qint64> MoneyEdit::value() const { return parseAmountText(text(), m_allowNegative); }

void MoneyEdit::setAmount(qint64 v) { setText(m_kind == Kind::Won ? wonText(v) : QString::number(v)); }

QString MoneyEdit::refusalText() const
{
    const QString name = m_fieldName.isEmpty() ? QStringLiteral("입력한 값") : m_fieldName;
    if (m_kind == Kind::Won)
        return name + QStringLiteral(" 금액을 숫자로 입력하십시요.");
    return name + QStringLiteral("은(는) 숫자로 입력하십시요.");
}

void MoneyEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    reformat();
}

void MoneyEdit::reformat()
{
    // Text that cannot be read stays as typed, so the desk sees what is wrong.
    if (const auto v = value(); v && !text().trimmed().isEmpty()) {
        const QString shown = m_kind == Kind::Won ? wonText(*v) : QString::number(*v);
        if (shown != text())
            setText(shown);
    }
}

bool checkNumberFields(QWidget *root, Messages &msg)
{
    if (!root)
        return true;
    // Focus order: walk the chain from root's first child.
    QList<MoneyEdit *> fields = root->findChildren<MoneyEdit *>();
    QList<MoneyEdit *> ordered;
    for (QWidget *w = root->nextInFocusChain(); w && w != root && ordered.size() < fields.size();
         w = w->nextInFocusChain()) {
        if (auto *m = qobject_cast<MoneyEdit *>(w); m && fields.contains(m) && !ordered.contains(m))
            ordered.append(m);
        if (w->nextInFocusChain() == root->nextInFocusChain())
            break;
    }
    for (MoneyEdit *m : fields)
        if (!ordered.contains(m))
            ordered.append(m);
    for (MoneyEdit *m : ordered) {
        if (!m->isEnabled() || m->isHidden() || m->isReadable())
            continue;
        msg.warn(m->refusalText(), QStringLiteral("입력확인"));
        m->setFocus();
        m->selectAll();
        return false;
    }
    return true;
}

} // namespace fitrova
