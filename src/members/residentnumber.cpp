#include "members/residentnumber.h"

#include "data/dates.h"

namespace fitrova {

namespace {

int firstDigit(const QString &secondPart)
{
    const QString t = secondPart.trimmed();
    if (t.isEmpty() || !t.at(0).isDigit() || t.at(0).unicode() > 127)
        return -1;
    return t.at(0).digitValue();
}

} // namespace

QString residentCentury(const QString &secondPart)
{
    switch (firstDigit(secondPart)) {
    case 1: case 2: case 5: case 6: return QStringLiteral("19");
    case 3: case 4: case 7: case 8: return QStringLiteral("20");
    case 9: case 0: return QStringLiteral("18");
    default: return {};
    }
}

QString residentSexCode(const QString &secondPart)
{
    switch (firstDigit(secondPart)) {
    case 1: case 3: case 5: case 7: return QStringLiteral("1");
    case 2: case 4: case 6: case 8: return QStringLiteral("2");
    default: return {};
    }
}

int memberAge(const QDate &birth, const QDate &today)
{
    if (!birth.isValid() || !today.isValid() || birth > today)
        return -1;
    int years = today.year() - birth.year();
    if (today.month() < birth.month() || (today.month() == birth.month() && today.day() < birth.day()))
        --years;
    return years + 1;
}

ResidentCheck checkResidentNumber(const QString &firstPart, const QString &secondPart, const QDate &today)
{
    ResidentCheck r;
    const QString first = firstPart.trimmed();
    const QString second = secondPart.trimmed();
    if (second.isEmpty())
        return r;

    auto refuse = [&](bool focusFirst) {
        r.outcome = ResidentCheck::Outcome::Refused;
        r.text = QStringLiteral("주민등록번호가 틀렸습니다.");
        r.title = QStringLiteral("주민번호");
        r.focusFirstPart = focusFirst;
        return r;
    };
    if (first.size() < 6)
        return refuse(false);

    bool digits = first.size() == 6;
    for (const QChar c : first)
        digits = digits && c.isDigit() && c.unicode() < 128;
    const QString century = residentCentury(second);
    if (!digits || century.isEmpty())
        return refuse(true);
    const QString birth = century + first.left(2) + QLatin1Char('-') + first.mid(2, 2) + QLatin1Char('-') + first.mid(4, 2);
    const QDate d = dateFromText(birth);
    const int age = memberAge(d, today);
    if (!d.isValid() || age < 0)
        return refuse(true);

    r.outcome = ResidentCheck::Outcome::Accepted;
    r.birthDate = birth;
    r.age = age;
    r.sexCode = residentSexCode(second);
    return r;
}

} // namespace fitrova
