#pragma once
// Who may read the files the program creates. The configuration holds the
// database password and the databases hold resident numbers and password
// hashes, so by default everything the program makes is its user's alone.
// A data folder shared by several system users of one group is configured
// with GroupAccess=YES in section DATABASE of Pginfo.Ini: files are then
// made readable and writable by that group as well (never by others).

#include <QFileDevice>
#include <QString>
#include <QStringList>

namespace fitrova {

enum class FileAccess { Owner, Group };

// GroupAccess=YES → Group; anything else → Owner.
FileAccess fileAccessFromSetting(const QString &groupAccessValue);

// The process's file creation mask for that access (077 or 007): every file
// and folder made afterwards (databases and their journals, exports, backups,
// photos) gets no more than these rights.
void applyFileCreationMask(FileAccess access);

QFileDevice::Permissions filePermissions(FileAccess access);
QFileDevice::Permissions folderPermissions(FileAccess access);

// Creates the folder and any missing parents with folderPermissions; the
// folders it made are appended to `made` (outermost first). False when one
// could not be made.
bool makeFolders(const QString &path, FileAccess access, QStringList *made = nullptr);

// Creates an empty file that no one else can open in the meantime, with
// filePermissions; false when the file exists already or cannot be made.
bool createPrivateFile(const QString &path, FileAccess access);

} // namespace fitrova
