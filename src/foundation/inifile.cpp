#include "foundation/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSaveFile>
#include <QStringList>

namespace fitrova {

namespace {

QStringList readLines(const QString &path, bool *ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    *ok = true;
    QString content = QString::fromUtf8(f.readAll());
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    content.remove(QChar(0));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = content.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// "[Name]" → "Name"; anything else → null string.
QString sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool splitKey(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

bool IniFile::exists() const { return QFileInfo(m_path).isFile(); }

QString IniFile::value(const QString &section, const QString &key) const
{
    bool ok = false;
    const QStringList lines = readLines(m_path, &ok);
    bool inSection = false;
    for (const QString &line : lines) {
        const QString s = sectionOf(line);
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && splitKey(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            // A value in double quotes keeps its blanks.
            if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                v = v.mid(1, v.size() - 2);
            return v;
        }
    }
    return {};
}

bool IniFile::setValue(const QString &section, const QString &key, const QString &value) const
{
    bool ok = false;
    QStringList lines = readLines(m_path, &ok);
    int sectionLine = -1, lastKeyLine = -1, keyLine = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString s = sectionOf(lines.at(i));
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection && sectionLine < 0) {
                sectionLine = i;
                lastKeyLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        QString k, v;
        if (splitKey(lines.at(i), &k, &v)) {
            lastKeyLine = i;
            if (k.compare(key, Qt::CaseInsensitive) == 0 && keyLine < 0)
                keyLine = i;
        }
    }
    QString written = value;
    written.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    if (keyLine >= 0) {
        QString k, v;
        splitKey(lines.at(keyLine), &k, &v);
        lines[keyLine] = k + QLatin1Char('=') + written;
    } else if (sectionLine >= 0) {
        lines.insert(lastKeyLine + 1, key + QLatin1Char('=') + written);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + written;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return f.commit();
}

QString getIniValue(const IniFile &ini, const QString &section, const QString &key)
{
    return ini.value(section, key);
}

bool setIniValue(const IniFile &ini, const QString &section, const QString &key, const QString &value)
{
    return ini.setValue(section, key, value);
}

} // namespace fitrova
