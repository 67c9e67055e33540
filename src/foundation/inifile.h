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
    // keeps every other line as it was. Returns false when the file cannot be written.
    bool setValue(const QString &section, const QString &key, const QString &value) const;
private:
    QString m_path;
};

// The two routines every screen uses, on the application's configuration file.
QString getIniValue(const IniFile &ini, const QString &section, const QString &key);
bool setIniValue(const IniFile &ini, const QString &section, const QString &key, const QString &value);

} // namespace fitrova
