#include "closing/cashbook.h"

#include <QDate>

namespace fitrova {

namespace {

const QString kAccountTitle = QStringLiteral("계정과목등록");
const QString kDescriptionTitle = QStringLiteral("적요등록");
const QString kSaveTitle = QStringLiteral("저장오류");

bool isKind(const QString &k) { return k == QLatin1String("1") || k == QLatin1String("2"); }
bool isAll(const QString &v) { return v.isEmpty() || v == QLatin1String("A"); }

CashAccount accountOf(const Row &r)
{
    return CashAccount{r.str(QStringLiteral("과목구분")), r.str(QStringLiteral("과목코드")),
                       r.str(QStringLiteral("과목명")), r.str(QStringLiteral("금액구분"))};
}

const QString kAccountColumns = QStringLiteral("SELECT 과목코드, 과목명, 과목구분, 금액구분 FROM 계정과목");

} // namespace

QString cashKindText(const QString &kind)
{
    if (kind == QLatin1String("1"))
        return QStringLiteral("수입");
    if (kind == QLatin1String("2"))
        return QStringLiteral("지출");
    return {};
}

QString cashPayText(const QString &payKind)
{
    if (payKind == QLatin1String("1"))
        return QStringLiteral("현금");
    if (payKind == QLatin1String("2"))
        return QStringLiteral("카드");
    return {};
}

// --- accounts ----------------------------------------------------------------

QList<CashAccount> listCashAccounts(const Db &db, const QString &kind)
{
    const Rows rows = isKind(kind) ? db.query(kAccountColumns + QStringLiteral(" WHERE 과목구분 = ? ORDER BY 과목코드"), {kind})
                                   : db.query(kAccountColumns + QStringLiteral(" ORDER BY 과목코드"));
    QList<CashAccount> out;
    out.reserve(rows.size());
    for (const Row &r : rows)
        out << accountOf(r);
    return out;
}

std::optional<CashAccount> findCashAccount(const Db &db, const QString &code)
{
    const auto r = db.queryOne(kAccountColumns + QStringLiteral(" WHERE 과목코드 = ?"), {code.trimmed()});
    if (!r)
        return std::nullopt;
    return accountOf(*r);
}

QString nextCashAccountCode(const Db &db, const QString &kind)
{
    if (!isKind(kind))
        return {};
    // Codes are compared as numbers: a hand-typed "99" among "1xx" codes does
    // not count as the highest.
    qint64 highest = -1;
    for (const Row &r : db.query(QStringLiteral("SELECT 과목코드 FROM 계정과목 WHERE 과목구분 = ?"), {kind})) {
        bool ok = false;
        const QString c = r.str(QStringLiteral("과목코드")).trimmed();
        const qint64 n = c.toLongLong(&ok);
        if (ok && c.size() == 3)
            highest = qMax(highest, n);
    }
    const qint64 next = highest < 0 ? kind.toLongLong() * 100 : highest + 1;
    const QString code = QStringLiteral("%1").arg(next, 3, 10, QLatin1Char('0'));
    // The hundred of the kind is full: the next number would be the other kind's.
    if (code.size() != 3 || code.at(0) != kind.at(0))
        return {};
    return code;
}

Outcome saveCashAccount(const Db &db, const CashAccount &in)
{
    const QString code = in.code.trimmed();
    const QString name = in.name.trimmed();
    if (!isKind(in.kind))
        return Outcome::refused(QStringLiteral("과목구분을 선택하셔야 합니다."), kAccountTitle, int(CashAccountField::Kind));
    if (code.isEmpty())
        return Outcome::refused(QStringLiteral("과목코드를 입력하셔야 합니다."), kAccountTitle, int(CashAccountField::Code));
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("과목명을 입력하셔야 합니다."), kAccountTitle, int(CashAccountField::Name));
    if (code.size() > 3)
        return Outcome::refused(QStringLiteral("3자리를 넘을수 없습니다."), kAccountTitle, int(CashAccountField::Code));
    if (name.size() > kCashAccountNameMax)
        return Outcome::refused(QStringLiteral("과목명의 최대글수는 12자를 넘을수 없습니다."), kAccountTitle,
                                int(CashAccountField::Name));
    const QString payKind = in.payKind == QLatin1String("2") ? QStringLiteral("2") : QStringLiteral("1");

    return db.transaction([&]() -> Outcome {
        const auto existing =
            db.queryOne(QStringLiteral("SELECT 과목구분 FROM 계정과목 WHERE 과목코드 = ?") + db.forUpdate(), {code});
        if (existing && existing->str(QStringLiteral("과목구분")) != in.kind)
            return Outcome::refused(QStringLiteral("이미 %1 계정으로 등록된 과목코드입니다.")
                                        .arg(cashKindText(existing->str(QStringLiteral("과목구분")))),
                                    kAccountTitle, int(CashAccountField::Code));
        if (existing) {
            db.exec(QStringLiteral("UPDATE 계정과목 SET 금액구분 = ?, 과목명 = ? WHERE 과목구분 = ? AND 과목코드 = ?"),
                    {payKind, name, in.kind, code});
        } else {
            db.exec(QStringLiteral("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES (?, ?, ?, ?)"),
                    {code, name, in.kind, payKind});
        }
        return Outcome::done(0, code).info(savedText(), kAccountTitle);
    });
}

Outcome deleteCashAccount(const Db &db, const QString &kind, const QString &code)
{
    return db.transaction([&]() -> Outcome {
        // The account is locked first: an entry being saved for it at another
        // desk waits, and is then refused as of an unknown account.
        if (!db.queryOne(QStringLiteral("SELECT 과목코드 FROM 계정과목 WHERE 과목구분 = ? AND 과목코드 = ?") + db.forUpdate(),
                         {kind, code}))
            return Outcome::refused(QStringLiteral("자료를 찾을수 없읍니다"), QStringLiteral("자료삭제"));
        const auto used = db.scalar(QStringLiteral("SELECT COUNT(*) FROM 수입지출 WHERE 과목코드 = ?"), {code});
        if (used.toLongLong() > 0)
            return Outcome::refused(QStringLiteral("수입/지출 내역이 %1건 있는 계정과목은 삭제할수 없읍니다.")
                                        .arg(used.toLongLong()),
                                    QStringLiteral("자료삭제"));
        db.exec(QStringLiteral("DELETE FROM 계정과목 WHERE 과목구분 = ? AND 과목코드 = ?"), {kind, code});
        db.exec(QStringLiteral("DELETE FROM 적요코드 WHERE 과목코드 = ?"), {code});
        return Outcome::done(0, code);
    });
}

// --- descriptions ------------------------------------------------------------

QList<CashDescription> listCashDescriptions(const Db &db, const QString &accountCode)
{
    QList<CashDescription> out;
    for (const Row &r : db.query(QStringLiteral("SELECT 과목코드, 적요코드, 적요 FROM 적요코드 WHERE 과목코드 = ? "
                                                "ORDER BY 과목코드, 적요코드"),
                                 {accountCode}))
        out << CashDescription{r.str(QStringLiteral("과목코드")), int(r.num(QStringLiteral("적요코드"))),
                               r.str(QStringLiteral("적요"))};
    return out;
}

Outcome saveCashDescription(const Db &db, const QString &accountCode, int no, const QString &text)
{
    const QString t = text.trimmed();
    if (accountCode.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("계정과목을 선택하세요."), kDescriptionTitle);
    if (t.isEmpty())
        return Outcome::refused(QStringLiteral("적요를 입력하세요."), kDescriptionTitle);
    if (t.size() > kCashTextMax)
        return Outcome::refused(QStringLiteral("적요의 최대글수는 30자를 넘을수 없습니다."), kDescriptionTitle);
    if (no > 0) {
        const int n = db.exec(QStringLiteral("UPDATE 적요코드 SET 적요 = ? WHERE 과목코드 = ? AND 적요코드 = ?"),
                              {t, accountCode, no});
        if (n == 0)
            return Outcome::refused(QStringLiteral("자료가 수정되지 않았습니다 "), QStringLiteral("저장 오류"));
        return Outcome::done(no);
    }
    return retryOnUniqueViolation(db, [&]() -> Outcome {
        if (!db.queryOne(QStringLiteral("SELECT 과목코드 FROM 계정과목 WHERE 과목코드 = ?") + db.forUpdate(), {accountCode}))
            return Outcome::refused(QStringLiteral("등록되지 않은 과목코드 입니다."), kDescriptionTitle);
        const qint64 next =
            db.scalar(QStringLiteral("SELECT COALESCE(MAX(적요코드), 0) + 1 FROM 적요코드 WHERE 과목코드 = ?"), {accountCode})
                .toLongLong();
        db.exec(QStringLiteral("INSERT INTO 적요코드 (과목코드, 적요코드, 적요) VALUES (?, ?, ?)"), {accountCode, next, t});
        return Outcome::done(next);
    });
}

Outcome deleteCashDescription(const Db &db, const QString &accountCode, int no)
{
    const int n = db.exec(QStringLiteral("DELETE FROM 적요코드 WHERE 과목코드 = ? AND 적요코드 = ?"), {accountCode, no});
    if (n == 0)
        return Outcome::refused(QStringLiteral("자료가 삭제되지 않았습니다"), QStringLiteral("삭제오류"));
    return Outcome::done(no);
}

// --- entries -----------------------------------------------------------------

qint64 cashBalanceBefore(const Db &db, const QString &date)
{
    return db
        .scalar(QStringLiteral("SELECT CAST(COALESCE(SUM(수입), 0) - COALESCE(SUM(지출), 0) AS BIGINT) "
                               "FROM 수입지출 WHERE 일자 < ?"),
                {date})
        .toLongLong();
}

CashBook readCashBook(const Db &db, const CashBookFilter &f)
{
    CashBook book;
    book.broughtForward = cashBalanceBefore(db, f.from);
    QString sql = QStringLiteral(
        "SELECT e.일자, e.순번, e.과목구분, e.과목코드, COALESCE(a.과목명, e.과목명) AS 과목명, e.금액구분, e.적요, "
        "e.수입, e.지출 FROM 수입지출 e LEFT JOIN 계정과목 a ON a.과목코드 = e.과목코드 "
        "WHERE e.일자 >= ? AND e.일자 <= ?");
    Params params{f.from, f.to};
    if (!isAll(f.kind)) {
        sql += QStringLiteral(" AND e.과목구분 = ?");
        params << f.kind;
    }
    if (!isAll(f.account)) {
        sql += QStringLiteral(" AND e.과목코드 = ?");
        params << f.account;
    }
    if (!isAll(f.payKind)) {
        sql += QStringLiteral(" AND e.금액구분 = ?");
        params << f.payKind;
    }
    sql += QStringLiteral(" ORDER BY e.일자, e.순번");
    const Rows rows = db.query(sql, params);
    book.entries.reserve(rows.size());
    qint64 balance = book.broughtForward;
    // A month can hold a thousand entries and more: the columns are read by
    // their place in the SELECT above.
    for (const Row &r : rows) {
        CashEntry e;
        e.date = r.at(0).toString();
        e.seq = r.at(1).toLongLong();
        e.kind = r.at(2).toString();
        e.accountCode = r.at(3).toString();
        e.accountName = r.at(4).toString();
        e.payKind = r.at(5).toString();
        e.text = r.at(6).toString();
        e.income = r.at(7).toLongLong();
        e.expense = r.at(8).toLongLong();
        balance += e.income - e.expense;
        e.balance = balance;
        book.totalIncome += e.income;
        book.totalExpense += e.expense;
        book.entries << e;
    }
    return book;
}

Outcome saveCashEntry(const Db &db, const CashEntryInput &in)
{
    const QString code = in.accountCode.trimmed();
    const QString text = in.text.trimmed();
    if (code.isEmpty())
        return Outcome::refused(QStringLiteral("계정과목을 입력하세요."), kSaveTitle, int(CashEntryField::Account));
    if (code.size() > 3)
        return Outcome::refused(QStringLiteral("3자리를 넘을수 없습니다."), kSaveTitle, int(CashEntryField::Account));
    if (in.amount <= 0)
        return Outcome::refused(QStringLiteral("금액을 입력하세요."), kSaveTitle, int(CashEntryField::Amount));
    if (text.size() > kCashTextMax)
        return Outcome::refused(QStringLiteral("적요의 최대글수는 30자를 넘을수 없습니다."), kSaveTitle,
                                int(CashEntryField::Text));
    if (QDate::fromString(in.date, QStringLiteral("yyyy-MM-dd")).isValid() == false)
        return Outcome::refused(QStringLiteral("일자를 확인하세요."), kSaveTitle);

    return db.transaction([&]() -> Outcome {
        // The account decides the kind and the payment kind; it is read under
        // lock so that it cannot vanish between the check and the write.
        const auto acct = db.queryOne(kAccountColumns + QStringLiteral(" WHERE 과목코드 = ?") + db.forUpdate(), {code});
        if (!acct)
            return Outcome::refused(QStringLiteral("등록되지 않은 과목코드 입니다."), kSaveTitle,
                                    int(CashEntryField::Account));
        const CashAccount a = accountOf(*acct);
        const bool income = a.kind == QLatin1String("1");
        const qint64 in1 = income ? in.amount : 0;
        const qint64 out1 = income ? 0 : in.amount;
        if (in.seq > 0) {
            const int n = db.exec(QStringLiteral("UPDATE 수입지출 SET 과목구분 = ?, 과목코드 = ?, 과목명 = ?, 금액구분 = ?, "
                                                 "수입 = ?, 지출 = ?, 적요 = ? WHERE 일자 = ? AND 순번 = ?"),
                                  {a.kind, a.code, a.name, a.payKind, in1, out1, text, in.date, in.seq});
            if (n == 0)
                return Outcome::refused(QStringLiteral("자료를 찾을수 없읍니다"), QStringLiteral("수정오류"));
            return Outcome::done(in.seq);
        }
        const qint64 seq = db.insertId(
            QStringLiteral("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 과목명, 금액구분, 적요, 수입, 지출, 잔액) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
            {in.date, in.date.left(7), a.kind, a.code, a.name, a.payKind, text, in1, out1}, QStringLiteral("순번"));
        return Outcome::done(seq);
    });
}

Outcome deleteCashEntry(const Db &db, const QString &date, qint64 seq)
{
    const int n = db.exec(QStringLiteral("DELETE FROM 수입지출 WHERE 일자 = ? AND 순번 = ?"), {date, seq});
    if (n == 0)
        return Outcome::refused(QStringLiteral("자료를 찾을수 없읍니다"), QStringLiteral("삭제오류"));
    return Outcome::done(seq);
}

QString cashBookPeriodText(const QString &from, const QString &to)
{
    return from + QStringLiteral("~") + to;
}

QString cashBookConditionText(const QString &kindItem, const QString &accountItem, const QString &payItem)
{
    return QStringLiteral("계정구분 : ") + kindItem + QStringLiteral("   계정과목 : ") + accountItem
        + QStringLiteral("   현금/카드 : ") + payItem;
}

} // namespace fitrova
