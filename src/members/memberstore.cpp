#include "members/memberstore.h"

#include "data/ledger.h"
#include "data/membergrams.h"
#include "data/numbering.h"
#include "data/privacy.h"

#include <tuple>
#include "members/lecturedelete.h"

namespace fitrova {

namespace {

const QString kMemberColumns = QStringLiteral(
    "MbCode, MbName, MbName1, Juno1, Juno2, Age, Tel1, Tel2, Tel3, Indate, Email1, PostNo, Addr1, Addr2, "
    "BirthDay, Solor, Sex, MbGubun, MbCard, Ext, Dm, SMS, MisuAmt, Point, LastDate, LastTime, Area");

QString orEmpty(const QString &s) { return s.isNull() ? QString(QLatin1String("")) : s; }

} // namespace

QString MemberRecord::residentText() const
{
    if (juno1.isEmpty() && juno2.isEmpty())
        return {};
    return maskedResidentNumber(juno1, juno2);
}

bool MemberRecord::residentMasked() const
{
    return juno1.contains(QLatin1Char('*')) || juno2.contains(QLatin1Char('*'));
}

QString MemberRecord::addressText() const
{
    return QString(addr1 + QLatin1Char(' ') + addr2).trimmed();
}

MemberRecord memberFromRowUnmasked(const Row &r)
{
    MemberRecord m;
    m.mbCode = r.str(QStringLiteral("MbCode"));
    m.mbName = r.str(QStringLiteral("MbName"));
    m.mbName1 = r.str(QStringLiteral("MbName1"));
    m.juno1 = r.str(QStringLiteral("Juno1"));
    m.juno2 = r.str(QStringLiteral("Juno2"));
    m.age = r.num(QStringLiteral("Age"));
    m.tel1 = r.str(QStringLiteral("Tel1"));
    m.tel2 = r.str(QStringLiteral("Tel2"));
    m.tel3 = r.str(QStringLiteral("Tel3"));
    m.indate = r.str(QStringLiteral("Indate"));
    m.email1 = r.str(QStringLiteral("Email1"));
    m.postNo = r.str(QStringLiteral("PostNo"));
    m.addr1 = r.str(QStringLiteral("Addr1"));
    m.addr2 = r.str(QStringLiteral("Addr2"));
    m.birthDay = r.str(QStringLiteral("BirthDay"));
    m.solor = r.str(QStringLiteral("Solor"));
    m.sex = r.str(QStringLiteral("Sex"));
    m.mbGubun = r.str(QStringLiteral("MbGubun"));
    m.mbCard = r.str(QStringLiteral("MbCard"));
    m.ext = r.str(QStringLiteral("Ext"));
    m.dm = r.str(QStringLiteral("Dm"));
    m.sms = r.str(QStringLiteral("SMS"));
    m.misuAmt = r.num(QStringLiteral("MisuAmt"));
    m.point = r.num(QStringLiteral("Point"));
    m.lastDate = r.str(QStringLiteral("LastDate"));
    m.lastTime = r.str(QStringLiteral("LastTime"));
    m.area = r.str(QStringLiteral("Area"));
    return m;
}

MemberRecord memberFromRow(const Row &r)
{
    MemberRecord m = memberFromRowUnmasked(r);
    if (!m.juno1.isEmpty() || !m.juno2.isEmpty())
        std::tie(m.juno1, m.juno2) = maskedResidentParts(m.juno1, m.juno2);
    return m;
}

std::optional<MemberRecord> loadMember(const Db &db, const QString &mbCode)
{
    const auto row = db.queryOne(QStringLiteral("SELECT %1 FROM Member WHERE MbCode = ?").arg(kMemberColumns),
                                 {mbCode});
    if (!row)
        return std::nullopt;
    return memberFromRow(*row);
}

std::optional<MemberRecord> loadMemberForCard(const Db &db, const QString &mbCode)
{
    const auto row = db.queryOne(QStringLiteral("SELECT %1 FROM Member WHERE MbCode = ?").arg(kMemberColumns),
                                 {mbCode});
    if (!row)
        return std::nullopt;
    return memberFromRowUnmasked(*row);
}

// --- search -------------------------------------------------------------------

QStringList memberSearchKindItems()
{
    return {QStringLiteral("1.회원명"), QStringLiteral("2.핸드폰"), QStringLiteral("3.자택전화"),
            QStringLiteral("4.회원번호"), QStringLiteral("5.카드번호"), QStringLiteral("6.주민번호")};
}

MemberSearchKind memberSearchKindOf(const QString &item)
{
    const int k = item.isEmpty() ? 0 : item.at(0).digitValue();
    return k >= 1 && k <= 6 ? MemberSearchKind(k) : MemberSearchKind::Name;
}

int memberSearchTextLimit(MemberSearchKind kind, int cardDigits)
{
    if (kind == MemberSearchKind::Card)
        return cardDigits > 0 ? cardDigits : 8;
    return 14;
}

namespace {

// Contains the text, the candidates narrowed by the substring index first
// when the text is long enough for its pieces.
SqlCondition indexedContains(MemberGramKind kind, const QString &column, const QString &text)
{
    const SqlCondition contains = containsCondition(column, text);
    const QStringList grams = memberSearchGrams(kind, text);
    if (grams.isEmpty())
        return contains;
    SqlCondition c;
    c.sql = QStringLiteral("Member.MbCode IN (");
    for (qsizetype i = 0; i < grams.size(); ++i) {
        c.sql += (i ? QStringLiteral(" INTERSECT ") : QString()) +
                 QStringLiteral("SELECT MbCode FROM MemberGram WHERE Gram = lower(?)");
        c.params << grams.at(i);
    }
    c.sql += QStringLiteral(") AND ") + contains.sql;
    c.params += contains.params;
    return c;
}

} // namespace

SqlCondition memberSearchCondition(MemberSearchKind kind, const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    switch (kind) {
    case MemberSearchKind::Name:
        return indexedContains(MemberGramKind::Name, QStringLiteral("Member.MbName"), text);
    case MemberSearchKind::Mobile:
        return indexedContains(MemberGramKind::Mobile, QStringLiteral("Member.Tel1"), text);
    case MemberSearchKind::HomeTel:
        return indexedContains(MemberGramKind::HomeTel, QStringLiteral("Member.Tel2"), text);
    case MemberSearchKind::Resident: {
        // A full number ("800408-2564385", "8004082564385") finds its holder
        // on both stored parts; anything shorter matches the birth part.
        QString digits = text;
        digits.remove(QLatin1Char('-'));
        bool allDigits = digits.size() > 6;
        for (const QChar c : digits)
            allDigits = allDigits && c.isDigit() && c.unicode() < 128;
        if (allDigits) {
            const QString second = digits.mid(6);
            return {QStringLiteral("Member.Juno1 = ? AND SUBSTR(Member.Juno2, 1, %1) = ?").arg(second.size()),
                    {digits.left(6), second}};
        }
        return containsCondition(QStringLiteral("Member.Juno1"), text);
    }
    case MemberSearchKind::Code: {
        bool digits = true;
        for (const QChar c : text)
            digits = digits && c.isDigit() && c.unicode() < 128;
        const QString code =
            digits && text.size() < kMemberCodeWidth ? text.rightJustified(kMemberCodeWidth, QLatin1Char('0')) : text;
        return {QStringLiteral("Member.MbCode = ?"), {code}};
    }
    case MemberSearchKind::Card:
        return {QStringLiteral("Member.MbCard = ?"), {text}};
    }
    return {};
}

QString memberSearchStatement(const SqlCondition &c)
{
    return QStringLiteral("SELECT %1 FROM Member WHERE %2 ORDER BY Member.MbCode LIMIT ?").arg(kMemberColumns, c.sql);
}

MemberSearchResult findMembers(const Db &db, MemberSearchKind kind, const QString &text, int limit)
{
    MemberSearchResult out;
    const SqlCondition c = memberSearchCondition(kind, text);
    if (c.isEmpty() || limit <= 0)
        return out;
    const Rows rows = db.query(memberSearchStatement(c), c.params + Params{limit});
    out.members.reserve(rows.size());
    for (const Row &r : rows)
        out.members.append(memberFromRow(r));
    out.total = out.members.size();
    if (out.total < limit)
        return out;
    // More than a page: counted. A name of exactly one piece is contained
    // by the members holding that piece, so the index alone counts them.
    const QString t = text.trimmed();
    const QStringList grams = kind == MemberSearchKind::Name ? memberSearchGrams(MemberGramKind::Name, t) : QStringList();
    if (grams.size() == 1 && t.size() == kNameGramLength)
        out.total = db.scalar(QStringLiteral("SELECT COUNT(*) FROM MemberGram WHERE Gram = lower(?)"), {grams.first()})
                        .toLongLong();
    else
        out.total = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE ") + c.sql, c.params).toLongLong();
    return out;
}

QList<MemberRecord> searchMembers(const Db &db, MemberSearchKind kind, const QString &text)
{
    return findMembers(db, kind, text).members;
}

// --- checks, numbering, saving ------------------------------------------------------

QString nextMemberCode(const Db &db)
{
    return nextNumber(db, QStringLiteral("Member"), QStringLiteral("MbCode"), kMemberCodeWidth);
}

Outcome checkMember(const Db &db, const MemberRecord &m)
{
    if (m.mbName.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("회원명은 필수입력 항목입니다"), memberSaveTitle());
    const QString card = m.mbCard.trimmed();
    if (!card.isEmpty()) {
        const Rows holders = db.query(QStringLiteral("SELECT MbCode, MbName FROM Member WHERE MbCard = ? "
                                                     "ORDER BY MbCode"),
                                      {card});
        for (const Row &h : holders) {
            if (h.str(QStringLiteral("MbCode")) == m.mbCode && !m.mbCode.isEmpty())
                continue;
            return Outcome::refused(QStringLiteral("등록된 회원카드번호는 ") + h.str(QStringLiteral("MbName")) +
                                        QStringLiteral(" 회원님이 이미 사용중입니다..."),
                                    memberSaveTitle());
        }
    }
    return Outcome::pass();
}

MemberSaveResult saveMember(const Db &db, const MemberRecord &input, const MemberNumberSource &numbers)
{
    MemberRecord m = input;
    m.mbName = m.mbName.trimmed();
    m.mbCard = m.mbCard.trimmed();
    if (m.sex.trimmed().isEmpty())
        m.sex = QStringLiteral(" ");

    const Params values{orEmpty(m.mbName), orEmpty(m.mbName1), orEmpty(m.juno1), orEmpty(m.juno2), m.age,
                        orEmpty(m.tel1), orEmpty(m.tel2), orEmpty(m.indate), orEmpty(m.addr1),
                        orEmpty(m.addr2), orEmpty(m.postNo), orEmpty(m.mbGubun.left(1)),
                        orEmpty(m.birthDay), orEmpty(m.solor.left(1)), m.sex, orEmpty(m.mbCard),
                        orEmpty(m.ext), m.dm == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0"),
                        m.sms == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0"),
                        orEmpty(m.email1)};
    const QString setList = QStringLiteral(
        "MbName = ?, MbName1 = ?, Juno1 = ?, Juno2 = ?, Age = ?, Tel1 = ?, Tel2 = ?, Indate = ?, Addr1 = ?, "
        "Addr2 = ?, PostNo = ?, MbGubun = ?, BirthDay = ?, Solor = ?, Sex = ?, MbCard = ?, Ext = ?, Dm = ?, "
        "SMS = ?, Email1 = ?");

    const bool isNew = m.mbCode.isEmpty();
    auto body = [&]() -> MemberSaveResult {
        MemberSaveResult r;
        // A card number is decided on with no row holding it yet: the desks
        // giving out cards take turns, so two members never get the same one.
        if (!m.mbCard.isEmpty())
            lockNamed(db, QStringLiteral("Member.MbCard"));
        const Outcome check = checkMember(db, m);
        if (!check.saved) {
            r.message = check.last();
            return r;
        }
        const QString code = isNew ? (numbers ? numbers(db) : nextMemberCode(db)) : m.mbCode;
        if (isNew) {
            db.exec(QStringLiteral("INSERT INTO Member (MbName, MbName1, Juno1, Juno2, Age, Tel1, Tel2, Indate, "
                                   "Addr1, Addr2, PostNo, MbGubun, BirthDay, Solor, Sex, MbCard, Ext, Dm, SMS, "
                                   "Email1, MisuAmt, Point, MbCode) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?)"),
                    values + Params{code});
        } else {
            Params row = values;
            if (m.residentMasked()) {
                // The masked number a list handed in never overwrites the stored one.
                if (const auto stored = db.queryOne(
                        QStringLiteral("SELECT Juno1, Juno2 FROM Member WHERE MbCode = ?") + db.forUpdate(), {code})) {
                    row[2] = stored->str(QStringLiteral("Juno1"));
                    row[3] = stored->str(QStringLiteral("Juno2"));
                }
            }
            const int changed =
                db.exec(QStringLiteral("UPDATE Member SET %1 WHERE MbCode = ?").arg(setList), row + Params{code});
            if (changed == 0) {
                r.message = {Notice::Kind::Warn, QStringLiteral("회원자료를 찾을수 없읍니다. 다른 곳에서 삭제되었는지 확인하세요."),
                             memberSaveTitle()};
                return r;
            }
        }
        r.misuAmt = updateMemberUnpaid(db, code);
        r.saved = true;
        r.created = isNew;
        r.mbCode = code;
        r.message = {Notice::Kind::Info, memberSavedText(), memberSaveTitle()};
        return r;
    };

    if (!isNew)
        return db.transaction(body);
    // The number comes from its locked counter; the unique key stays the last guard.
    return retryOnUniqueViolation(db, body);
}

// --- member deletion ---------------------------------------------------------

void deleteMember(const Db &db, const QString &mbCode)
{
    db.transaction([&] {
        // Rows of this member that hang on another member's enrollment: that
        // enrollment's link and end date are repaired once they are gone.
        const Rows foreign = db.query(
            QStringLiteral("SELECT d.Ltid AS Ltid, d.LtGubun AS LtGubun, d.BLtid AS BLtid "
                           "FROM Lecture d JOIN Lecture b ON b.Ltid = d.BLtid "
                           "WHERE d.MbCode = ? AND d.LtGubun <> '1' AND d.BLtid <> 0 AND b.MbCode <> ?"),
            {mbCode, mbCode});

        db.exec(QStringLiteral("DELETE FROM Member WHERE MbCode = ?"), {mbCode});
        deleteLecturesOfMember(db, mbCode);
        db.exec(QStringLiteral("DELETE FROM ItemTrs WHERE Entid IN (SELECT Entid FROM entrance WHERE MbCode = ?)"),
                {mbCode});
        db.exec(QStringLiteral("DELETE FROM entrance WHERE MbCode = ?"), {mbCode});
        db.exec(QStringLiteral("DELETE FROM Sale WHERE MbCode = ?"), {mbCode});
        db.exec(QStringLiteral("DELETE FROM RqPerBox WHERE MbCode = ?"), {mbCode});
        // A locker the member still holds is free again: nobody could rent
        // or release it once its holder is gone.
        db.exec(QStringLiteral("UPDATE PerBoxS SET UUse = '0', MbCode = '', MonCnt = 0, StDate = '', EndDate = '' "
                               "WHERE MbCode = ?"),
                {mbCode});
        db.exec(QStringLiteral("DELETE FROM WaitList WHERE MbCode = ?"), {mbCode});

        for (const Row &f : foreign)
            repairBase(db, f.num(QStringLiteral("BLtid")), lectureKindOf(f.str(QStringLiteral("LtGubun"))));
    });
}

// --- other reads -----------------------------------------------------------------

QString lastVisitDate(const Db &db, const QString &mbCode)
{
    return db.scalar(QStringLiteral("SELECT MAX(InDate) FROM entrance WHERE MbCode = ?"), {mbCode}).toString();
}

QString memberPhotoFile(const QString &picDir, const QString &mbCode)
{
    QString dir = picDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + mbCode + QStringLiteral(".BMP");
}

} // namespace fitrova
