#include "foundation/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

namespace fitrova {

namespace {

// The file as read: its lines, and what a rewrite must keep of its form.
struct Content {
    bool exists = false;
    // Read whole, as UTF-8 without NUL bytes. A file that is not (another
    // code page, damage, no permission) is read as well as it can be but
    // never written back: its bytes would be lost.
    bool clean = false;
    bool bom = false, crlf = false;
    QStringList lines;
};

Content readContent(const QString &path)
{
    Content c;
    QFile f(path);
    c.exists = f.exists();
    if (!c.exists)
        return c;
    if (!f.open(QIODevice::ReadOnly))
        return c;
    QByteArray bytes = f.readAll();
    const bool complete = f.error() == QFileDevice::NoError;
    c.bom = bytes.startsWith("\xEF\xBB\xBF");
    if (c.bom)
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString content = utf8.decode(bytes);
    c.clean = complete && !utf8.hasError() && !bytes.contains('\0');
    content.remove(QChar(0));
    c.crlf = content.contains(QStringLiteral("\r\n"));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.lines = content.split(QLatin1Char('\n'));
    if (!c.lines.isEmpty() && c.lines.last().isEmpty())
        c.lines.removeLast();
    return c;
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

bool IniFile::readsCleanly() const
{
    const Content c = readContent(m_path);
    return !c.exists || c.clean;
}

QString IniFile::value(const QString &section, const QString &key) const
{
    const QStringList lines = readContent(m_path).lines;
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
    Content c = readContent(m_path);
    if (c.exists && !c.clean)
        return false;
    QStringList &lines = c.lines;
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
    written.remove(QLatin1Char('\n')).remove(QLatin1Char('\r')).remove(QChar(0));
    if (keyLine >= 0) {
        QString k, v;
        splitKey(lines.at(keyLine), &k, &v);
        if (v == written)
            return true; // nothing to change: the file is left untouched
        lines[keyLine] = k + QLatin1Char('=') + written;
    } else if (sectionLine >= 0) {
        lines.insert(lastKeyLine + 1, key + QLatin1Char('=') + written);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + written;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Written beside the file and renamed over it: a crash or a full disk
    // leaves the old file or the new one, never half of one.
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (!c.exists) // holds passwords: readable by its owner only
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString eol = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray bytes = c.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += (lines.join(eol) + eol).toUtf8();
    return f.write(bytes) == bytes.size() && f.commit();
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
