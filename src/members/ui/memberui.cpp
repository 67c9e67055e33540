#include "members/ui/memberui.h"

#include "data/dates.h"
#include "widgets/messages.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fitrova {

bool normalizeDateField(QLineEdit *field, const QDate &today, Messages &msg)
{
    const QString typed = field->text().trimmed();
    if (typed.isEmpty())
        return true;
    const QString d = normalizeDate(typed, today);
    if (d.isEmpty()) {
        msg.warn(QStringLiteral("일자를 수정하세요"), QStringLiteral("일자ERROR"));
        return false;
    }
    if (d != field->text())
        field->setText(d);
    return true;
}

} // namespace fitrova
