#include "catalogue/lecturers.h"

#include "catalogue/codesequence.h"

namespace fitrova {

namespace {

const QString kSaveTitle = QStringLiteral("강사저장");

Lecturer lecturerFromRow(const Row &r)
{
    Lecturer l;
    l.code = r.str(QStringLiteral("LTcode"));
    l.name = r.str(QStringLiteral("LTName"));
    l.tel = r.str(QStringLiteral("Tel"));
    l.course = r.str(QStringLiteral("Course"));
    l.inUse = r.str(QStringLiteral("Resign")) == QLatin1String("1");
    return l;
}

QList<Lecturer> lecturersOf(const Rows &rows)
{
    QList<Lecturer> list;
    for (const Row &r : rows)
        list.append(lecturerFromRow(r));
    return list;
}

QString inUseFlag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

QList<Lecturer> listLecturers(const Db &db, bool onlyInUse)
{
    if (onlyInUse)
        return lecturersOf(db.query(QStringLiteral("SELECT LTcode, LTName, Tel, Course, Resign FROM Lecturer "
                                                   "WHERE Resign = ? ORDER BY LTcode"),
                                    {QStringLiteral("1")}));
    return lecturersOf(db.query(QStringLiteral("SELECT LTcode, LTName, Tel, Course, Resign FROM Lecturer ORDER BY LTcode")));
}

std::optional<Lecturer> loadLecturer(const Db &db, const QString &code)
{
    const auto r = db.queryOne(QStringLiteral("SELECT LTcode, LTName, Tel, Course, Resign FROM Lecturer WHERE LTcode = ?"),
                               {code});
    if (!r)
        return std::nullopt;
    return lecturerFromRow(*r);
}

QList<Lecturer> pickableLecturers(const Db &db, const QString &course)
{
    if (course.isEmpty() || course == QLatin1String("0"))
        return lecturersOf(db.query(QStringLiteral("SELECT LTcode, LTName, Tel, Course, Resign FROM Lecturer "
                                                   "WHERE Resign = ? ORDER BY Course, LTcode"),
                                    {QStringLiteral("1")}));
    return lecturersOf(db.query(QStringLiteral("SELECT LTcode, LTName, Tel, Course, Resign FROM Lecturer "
                                               "WHERE Course = ? AND Resign = ? ORDER BY Course, LTcode"),
                                {course, QStringLiteral("1")}));
}

Outcome saveLecturer(const Db &db, const Lecturer &lecturer, bool isNew)
{
    if (lecturer.code.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("신규버튼을 누른후 입력하세요"), kSaveTitle, LecturerNameField);
    const QString name = lecturer.name.trimmed();
    if (name.isEmpty())
        return Outcome::refusedPlain(QStringLiteral("강사명은 필수입력 항목입니다."), kSaveTitle, LecturerNameField);

    Outcome result;
    if (isNew) {
        bool first = true;
        const QString code = retryOnUniqueViolation(db, [&]() -> QString {
            QString c = lecturer.code.trimmed();
            const bool taken = db.scalar(QStringLiteral("SELECT 1 FROM Lecturer WHERE LTcode = ?"), {c}).isValid();
            if (!first || taken)
                c = nextLecturerCode(db);
            first = false;
            if (c.isEmpty())
                return {};
            db.exec(QStringLiteral("INSERT INTO Lecturer (LTcode, LTName, Tel, Resign) VALUES (?, ?, ?, ?)"),
                    {c, name, lecturer.tel.trimmed(), inUseFlag(lecturer.inUse)});
            return c;
        });
        if (code.isEmpty())
            return Outcome::refusedPlain(QStringLiteral("더 이상 만들 수 있는 코드가 없읍니다"), kSaveTitle);
        result = Outcome::done(0, code);
    } else {
        const int n = db.exec(QStringLiteral("UPDATE Lecturer SET LTName = ?, Tel = ?, Resign = ? WHERE LTcode = ?"),
                              {name, lecturer.tel.trimmed(), inUseFlag(lecturer.inUse), lecturer.code});
        if (n == 0)
            return Outcome::refusedPlain(QStringLiteral("수정할 항목이 없읍니다"), kSaveTitle);
        result = Outcome::done(0, lecturer.code);
    }
    result.info(savedText(), kSaveTitle);
    return result;
}

Outcome deleteLecturer(const Db &db, const QString &code)
{
    return db.transaction([&] {
        if (db.scalar(QStringLiteral("SELECT 1 FROM Program WHERE LtCode = ?"), {code}).isValid())
            return Outcome::refusedPlain(QStringLiteral("이미사용된 강사코드는 삭제할수 없읍니다"),
                                         QStringLiteral("강사삭제"));
        db.exec(QStringLiteral("DELETE FROM Lecturer WHERE LTcode = ?"), {code});
        return Outcome::done(0, code);
    });
}

} // namespace fitrova
