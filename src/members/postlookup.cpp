#include "members/postlookup.h"

#include "members/searchtext.h"

namespace fitrova {

QString PostRow::addressText(bool withRi) const
{
    QString t = siDo + QLatin1Char(' ') + guGun + QLatin1Char(' ') + dong;
    if (withRi && !ri.trimmed().isEmpty())
        t += QLatin1Char(' ') + ri;
    return t.simplified();
}

QStringList postHeaders(bool withRi)
{
    QStringList h{QStringLiteral("ID"), QStringLiteral("우편번호"), QStringLiteral("시도"), QStringLiteral("구군"),
                  QStringLiteral("동")};
    if (withRi)
        h << QStringLiteral("리");
    h << QStringLiteral("번지") << QStringLiteral("지역");
    return h;
}

QList<PostRow> searchPost(const Db &post, const QString &dong, bool withRi)
{
    const QString text = dong.trimmed();
    if (text.isEmpty())
        return {};
    const SqlCondition c = containsCondition(QStringLiteral("Dong"), text);
    const QString order = withRi ? QStringLiteral(" ORDER BY Tflag DESC, SiDo, GuGun, Dong, RI, Bunji DESC, PostNum")
                                 : QStringLiteral(" ORDER BY Tflag DESC, SiDo, GuGun, Dong, Bunji DESC, PostNum");
    const Rows rows =
        post.query(QStringLiteral("SELECT ID, PostNum, SiDo, GuGun, Dong, RI, Bunji, Area FROM Post WHERE ") + c.sql +
                       order,
                   c.params);
    QList<PostRow> out;
    out.reserve(rows.size());
    for (const Row &r : rows)
        out.append({r.num(QStringLiteral("ID")), r.str(QStringLiteral("PostNum")), r.str(QStringLiteral("SiDo")),
                    r.str(QStringLiteral("GuGun")), r.str(QStringLiteral("Dong")), r.str(QStringLiteral("RI")),
                    r.str(QStringLiteral("Bunji")), r.str(QStringLiteral("Area"))});
    return out;
}

QStringList postCells(const PostRow &r, bool withRi)
{
    QStringList c{QString::number(r.id), r.postNum, r.siDo, r.guGun, r.dong};
    if (withRi)
        c << r.ri;
    c << r.bunji << r.area;
    return c;
}

} // namespace fitrova
