#include "entrance/ui/itempickdialog.h"

#include "data/lookups.h"
#include "members/searchtext.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace fitrova {

ItemPickDialog::ItemPickDialog(UiContext &ui, QWidget *parent) : PickListDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("교구조회"));
    setWindowTitle(QStringLiteral("교구조회"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Txt찾기"));
    m_text->setMaxLength(60);
    searchLayout()->addWidget(caption(this, QStringLiteral("교구명/바코드")));
    searchLayout()->addWidget(m_text, 1);
    grid()->setColumns({QStringLiteral("분류1"), QStringLiteral("분류2"), QStringLiteral("교구명"),
                        QStringLiteral("바코드")},
                       {90, 90, 160, 110});
    connect(m_text, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(this, &QDialog::accepted, this, [this] { ItId = pickedKey().toLongLong(); });
    search();
}

void ItemPickDialog::search()
{
    const QString t = m_text->text().trimmed();
    QString sql = QStringLiteral("SELECT ItId, Course, Sclass, ItName, BarCode FROM Item");
    Params params;
    if (!t.isEmpty()) {
        const SqlCondition name = containsCondition(QStringLiteral("ItName"), t);
        sql += QStringLiteral(" WHERE ") + name.sql + QStringLiteral(" OR BarCode = ?");
        params = name.params;
        params << t;
    }
    sql += QStringLiteral(" ORDER BY ItName, ItId LIMIT 500");
    QList<QStringList> rows;
    QVariantList keys;
    try {
        const Db &db = m_ui.app.main;
        QHash<QString, QString> names;
        for (const Row &r : db.query(sql, params)) {
            const QString course = r.str(QStringLiteral("Course"));
            const QString sclass = r.str(QStringLiteral("Sclass"));
            if (!names.contains(course))
                names.insert(course, course.isEmpty() ? QString() : getCourseName(db, course, QStringLiteral("S")));
            const QString key = course + QLatin1Char('|') + sclass;
            if (!names.contains(key))
                names.insert(key, course.isEmpty() ? QString() : getSclassName(db, QStringLiteral("S"), course, sclass));
            rows << QStringList{names.value(course), names.value(key), r.str(QStringLiteral("ItName")),
                                r.str(QStringLiteral("BarCode"))};
            keys << r.num(QStringLiteral("ItId"));
        }
    } catch (const DbError &) {
        m_ui.msg.warn(QStringLiteral("자료조회중 오류가 발생하였습니다."), QStringLiteral("조회오류"));
    }
    grid()->setRows(rows, keys);
}

} // namespace fitrova
