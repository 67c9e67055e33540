#pragma once
// Instructors (Lecturer rows): four-digit codes "0001" …, name, telephone,
// in use ("1") or no longer used. An instructor a program refers to is kept.

#include "foundation/outcome.h"
#include "data/db.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

struct Lecturer {
    QString code, name, tel;
    QString course; // read by the pick list's filter; not edited
    bool inUse = true;
};

// Every instructor, or those in use, by code.
QList<Lecturer> listLecturers(const Db &db, bool onlyInUse);
std::optional<Lecturer> loadLecturer(const Db &db, const QString &code);

// Instructors in use for the pick list, by course and code; course "" (or
// the "0-모두보기" item's code "0") lists those of every course.
QList<Lecturer> pickableLecturers(const Db &db, const QString &course);

enum LecturerField { LecturerNoField = 0, LecturerCodeField, LecturerNameField };

// Saves the editor's instructor. A new one keeps its code unless another
// workstation took it meanwhile; then the next free code is used
// (result.code). On success its notice is the confirmation.
Outcome saveLecturer(const Db &db, const Lecturer &lecturer, bool isNew);

// Refused with "이미사용된 강사코드는 삭제할수 없읍니다" while a program uses the code.
Outcome deleteLecturer(const Db &db, const QString &code);

} // namespace fitrova
