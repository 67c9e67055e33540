#include "messaging/smsaccounts.h"

#include "foundation/password.h"

namespace fitrova {

namespace {

QString timeText(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The deposit's date as a day ("YYYY-MM-DD"), whatever time a provider's tool stored with it.
QString dayOf(const QString &stored)
{
    return stored.trimmed().left(10);
}

} // namespace

SmsLoginResult smsCustomerLogin(const Db &primary, const QString &id, const QString &password)
{
    SmsLoginResult r;
    const QString title = smsLoginTitle();
    if (id.trimmed().isEmpty() || password.isEmpty()) {
        r.outcome = Outcome::refused(QStringLiteral("아이디와 비밀번호를 입력해주세요."), title,
                                     id.trimmed().isEmpty() ? kSmsLoginIdField : kSmsLoginPasswordField);
        return r;
    }
    const auto row = primary.queryOne(
        QStringLiteral("SELECT Idx, custom_id, custom_pwd, custom_nam, custom_Tel, Sub_id FROM tblMember "
                       "WHERE custom_id = ? ORDER BY custom_id"),
        {id.trimmed()});
    if (!row) {
        r.outcome = Outcome::refused(
            QStringLiteral("등록되지 않은 아이디입니다..업체에 문의하여 ID와 Password를 부여받기 바랍니다."), title,
            kSmsLoginIdField);
        return r;
    }
    const PasswordCheck check = verifyPassword(row->str(QStringLiteral("custom_pwd")), password);
    if (!check.ok) {
        r.outcome = Outcome::refused(QStringLiteral("해당 아이디에 비밀번호가 맞지 않습니다."), title,
                                     kSmsLoginPasswordField);
        return r;
    }
    if (check.needsRehash)
        primary.exec(QStringLiteral("UPDATE tblMember SET custom_pwd = ? WHERE Idx = ?"),
                     {hashPassword(password), row->num(QStringLiteral("Idx"))});
    r.login.customId = row->str(QStringLiteral("custom_id"));
    r.login.customName = row->str(QStringLiteral("custom_nam"));
    r.login.customTel = row->str(QStringLiteral("custom_Tel"));
    r.login.subId = row->str(QStringLiteral("Sub_id"));
    r.outcome = Outcome::done(row->num(QStringLiteral("Idx")));
    return r;
}

void countSmsLogin(const Db &primary, const QString &customId, const QDateTime &now)
{
    primary.exec(QStringLiteral("UPDATE tblMember SET loginN = COALESCE(loginN, 0) + 1, loginD = ? WHERE custom_id = ?"),
                 {timeText(now), customId});
}

qint64 smsBalance(const Db &primary, const QString &subId)
{
    const auto row = primary.queryOne(QStringLiteral("SELECT M_PastG FROM tblAccount WHERE Sub_Id = ?"), {subId});
    return row ? row->num(QStringLiteral("M_PastG")) : 0;
}

// --- deposits --------------------------------------------------------------------------

QList<SmsDeposit> smsDeposits(const Db &primary, const QString &subId)
{
    QList<SmsDeposit> out;
    for (const Row &r : primary.query(QStringLiteral("SELECT Idx, Sub_Id, ReceiD, ReceiM, ReceiG, pastG FROM tblReceipt "
                                                     "WHERE Sub_Id = ? ORDER BY Idx"),
                                      {subId})) {
        SmsDeposit d;
        d.idx = r.num(QStringLiteral("Idx"));
        d.subId = r.str(QStringLiteral("Sub_Id"));
        d.date = dayOf(r.str(QStringLiteral("ReceiD")));
        d.amount = r.num(QStringLiteral("ReceiM"));
        d.messages = r.num(QStringLiteral("ReceiG"));
        d.balanceAfter = r.num(QStringLiteral("pastG"));
        out << d;
    }
    return out;
}

Outcome saveSmsDeposit(const Db &primary, const SmsDeposit &d)
{
    const QString title = smsDepositTitle();
    if (d.amount < 0)
        return Outcome::refused(QStringLiteral("충전금액을 입력하세요"), title, 1);
    if (d.messages <= 0)
        return Outcome::refused(QStringLiteral("충전건수를 입력하세요"), title, 2);
    if (d.subId.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("충전할 사용처를 선택하세요"), title);
    // Two first deposits of one account at once both find no balance row; the
    // second one's insert meets the key and runs again, then finding it.
    return retryOnUniqueViolation(primary, [&]() -> Outcome {
        qint64 before = 0;
        if (d.idx > 0) {
            const auto old = primary.queryOne(
                QStringLiteral("SELECT ReceiG, Sub_Id FROM tblReceipt WHERE Idx = ?") + primary.forUpdate(), {d.idx});
            if (!old)
                return Outcome::refused(QStringLiteral("해당 입금자료가 없습니다."), title);
            if (old->str(QStringLiteral("Sub_Id")) != d.subId)
                return Outcome::refused(QStringLiteral("다른 사용처의 입금자료입니다."), title);
            before = old->num(QStringLiteral("ReceiG"));
        }
        const auto account = primary.queryOne(
            QStringLiteral("SELECT M_PastG FROM tblAccount WHERE Sub_Id = ?") + primary.forUpdate(), {d.subId});
        qint64 balance = 0;
        if (account) {
            balance = account->num(QStringLiteral("M_PastG")) - before + d.messages;
            primary.exec(QStringLiteral("UPDATE tblAccount SET M_PastG = ? WHERE Sub_Id = ?"), {balance, d.subId});
        } else {
            balance = d.messages;
            primary.exec(QStringLiteral("INSERT INTO tblAccount (Sub_Id, M_PastG) VALUES (?, ?)"), {d.subId, balance});
        }
        if (d.idx > 0) {
            primary.exec(QStringLiteral("UPDATE tblReceipt SET ReceiD = ?, ReceiM = ?, ReceiG = ?, pastG = ? WHERE Idx = ?"),
                         {d.date, d.amount, d.messages, balance, d.idx});
            return Outcome::done(d.idx).info(savedText(), title);
        }
        const qint64 idx = primary.insertId(
            QStringLiteral("INSERT INTO tblReceipt (Sub_Id, ReceiD, ReceiM, ReceiG, pastG) VALUES (?, ?, ?, ?, ?)"),
            {d.subId, d.date, d.amount, d.messages, balance}, QStringLiteral("Idx"));
        return Outcome::done(idx).info(savedText(), title);
    });
}

Outcome deleteSmsDeposit(const Db &primary, qint64 idx)
{
    const QString title = smsDepositTitle();
    return primary.transaction([&]() -> Outcome {
        const auto old = primary.queryOne(
            QStringLiteral("SELECT ReceiG, Sub_Id FROM tblReceipt WHERE Idx = ?") + primary.forUpdate(), {idx});
        if (!old)
            return Outcome::refused(QStringLiteral("해당 입금자료가 없습니다."), title);
        primary.exec(QStringLiteral("DELETE FROM tblReceipt WHERE Idx = ?"), {idx});
        primary.exec(QStringLiteral("UPDATE tblAccount SET M_PastG = M_PastG - ? WHERE Sub_Id = ?"),
                     {old->num(QStringLiteral("ReceiG")), old->str(QStringLiteral("Sub_Id"))});
        return Outcome::done(idx);
    });
}

// --- customer logins -------------------------------------------------------------------

namespace {

SmsAccount accountOf(const Row &r)
{
    SmsAccount a;
    a.idx = r.num(QStringLiteral("Idx"));
    a.customId = r.str(QStringLiteral("custom_id"));
    a.name = r.str(QStringLiteral("custom_nam"));
    a.tel = r.str(QStringLiteral("custom_Tel"));
    a.hp = r.str(QStringLiteral("custom_Hp"));
    a.subId = r.str(QStringLiteral("Sub_id"));
    a.balance = r.num(QStringLiteral("M_PastG"));
    a.logins = r.num(QStringLiteral("loginN"));
    a.lastLogin = r.str(QStringLiteral("loginD"));
    return a;
}

const char *const kAccountColumns =
    "SELECT tblMember.Idx, tblMember.custom_id, tblMember.custom_nam, tblMember.custom_Tel, tblMember.custom_Hp, "
    "tblMember.Sub_id, tblMember.loginN, tblMember.loginD, tblAccount.M_PastG "
    "FROM tblMember LEFT JOIN tblAccount ON tblMember.Sub_id = tblAccount.Sub_Id ";

} // namespace

QList<SmsAccount> smsAccounts(const Db &primary)
{
    QList<SmsAccount> out;
    for (const Row &r : primary.query(QString::fromLatin1(kAccountColumns) + QStringLiteral("ORDER BY tblMember.Idx")))
        out << accountOf(r);
    return out;
}

SmsAccount smsAccount(const Db &primary, qint64 idx)
{
    const auto r = primary.queryOne(QString::fromLatin1(kAccountColumns) + QStringLiteral("WHERE tblMember.Idx = ?"),
                                    {idx});
    return r ? accountOf(*r) : SmsAccount{};
}

Outcome saveSmsAccount(const Db &primary, const SmsAccount &a, const QString &password, bool isNew)
{
    const QString title = smsAccountTitle();
    const QString id = a.customId.trimmed();
    if (id.isEmpty())
        return Outcome::refused(QStringLiteral("아이디는 필수 입력항목 입니다"), title, 1);
    if (isNew && password.isEmpty())
        return Outcome::refused(QStringLiteral("패스워드는 필수 입력항목 입니다"), title, 2);
    if (a.tel.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("전화번호는 필수 입력항목 입니다"), title, 3);
    // Hashing takes a moment: done before the transaction, which it would hold up.
    const QString hash = password.isEmpty() ? QString() : hashPassword(password);
    return retryOnUniqueViolation(primary, [&]() -> Outcome {
        if (isNew) {
            if (primary.queryOne(QStringLiteral("SELECT Idx FROM tblMember WHERE custom_id = ?"), {id}))
                return Outcome::refused(QStringLiteral("이미 등록된 아이디입니다."), title, 1);
            const qint64 idx = primary.insertId(
                QStringLiteral("INSERT INTO tblMember (custom_id, custom_pwd, custom_nam, custom_Tel, custom_Hp, "
                               "loginN, Sub_id) VALUES (?, ?, ?, ?, ?, 0, ?)"),
                {id, hash, a.name.trimmed(), a.tel.trimmed(), a.hp.trimmed(), id},
                QStringLiteral("Idx"));
            return Outcome::done(idx, id).info(savedText(), title);
        }
        const auto old = primary.queryOne(
            QStringLiteral("SELECT custom_id FROM tblMember WHERE Idx = ?") + primary.forUpdate(), {a.idx});
        if (!old)
            return Outcome::refused(QStringLiteral("해당 사용처가 없습니다."), title);
        if (password.isEmpty())
            primary.exec(QStringLiteral("UPDATE tblMember SET custom_nam = ?, custom_Tel = ?, custom_Hp = ? WHERE Idx = ?"),
                         {a.name.trimmed(), a.tel.trimmed(), a.hp.trimmed(), a.idx});
        else
            primary.exec(QStringLiteral("UPDATE tblMember SET custom_pwd = ?, custom_nam = ?, custom_Tel = ?, "
                                        "custom_Hp = ? WHERE Idx = ?"),
                         {hash, a.name.trimmed(), a.tel.trimmed(), a.hp.trimmed(), a.idx});
        return Outcome::done(a.idx, old->str(QStringLiteral("custom_id"))).info(savedText(), title);
    });
}

Outcome deleteSmsAccount(const Db &primary, qint64 idx)
{
    if (primary.exec(QStringLiteral("DELETE FROM tblMember WHERE Idx = ?"), {idx}) == 0)
        return Outcome::refused(QStringLiteral("해당 사용처가 없습니다."), smsAccountTitle());
    return Outcome::done(idx);
}

} // namespace fitrova
