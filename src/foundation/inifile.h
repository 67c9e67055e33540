#pragma once
// The workstation's configuration file (Bin/Pginfo.Ini): an INI file whose
// section and key names are matched without regard to case. Values keep
// their case (paths on this platform are case-sensitive). A missing file,
// section or key reads as "".

#include <QString>

namespace fitrova {

class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}
    const QString &path() const { return m_path; }
    bool exists() const;
    // Value of section/key, "" when the file, section or key is missing.
    QString value(const QString &section, const QString &key) const;
    // Writes section/key; creates the file, section or key when missing and
    // keeps every other line as it was (and the file's line ends and byte
    // order mark). The new file is written beside the old one and renamed
    // over it; a file created here is readable by its owner only. Returns
    // false, touching nothing, when the file cannot be written or when it
    // exists but does not read cleanly (see readsCleanly).
    bool setValue(const QString &section, const QString &key, const QString &value) const;
    // True when the file is missing, or reads whole as UTF-8 text without NUL
    // bytes. A file that does not (another code page, damage, no read
    // permission) is never rewritten: its values are still read as well as
    // they can be.
    bool readsCleanly() const;
private:
    QString m_path;
};

// The two routines every screen uses, on the application's configuration file.
QString getIniValue(const IniFile &ini, const QString &section, const QString &key);
bool setIniValue(const IniFile &ini, const QString &section, const QString &key, const QString &value);

} // namespace fitrova
