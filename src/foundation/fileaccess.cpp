#include "foundation/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fitrova {

FileAccess fileAccessFromSetting(const QString &groupAccessValue)
{
    return groupAccessValue.trimmed().compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0 ? FileAccess::Group
                                                                                                : FileAccess::Owner;
}

void applyFileCreationMask(FileAccess access)
{
    ::umask(access == FileAccess::Group ? 007 : 077);
}

QFileDevice::Permissions filePermissions(FileAccess access)
{
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
        | QFileDevice::WriteUser;
    if (access == FileAccess::Group)
        p |= QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    return p;
}

QFileDevice::Permissions folderPermissions(FileAccess access)
{
    QFileDevice::Permissions p = filePermissions(access) | QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (access == FileAccess::Group)
        p |= QFileDevice::ExeGroup;
    return p;
}

bool makeFolders(const QString &path, FileAccess access, QStringList *made)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QStringList missing;
    for (QString p = clean; !QFileInfo::exists(p); p = QFileInfo(p).absolutePath()) {
        missing.prepend(p);
        if (QFileInfo(p).absolutePath() == p)
            break;
    }
    for (const QString &p : missing) {
        if (!QDir().mkdir(p))
            return QFileInfo(p).isDir();
        QFile::setPermissions(p, folderPermissions(access));
        if (made)
            made->append(p);
    }
    return QFileInfo(clean).isDir();
}

bool createPrivateFile(const QString &path, FileAccess access)
{
    const mode_t mode = access == FileAccess::Group ? 0660 : 0600;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    ::fchmod(fd, mode); // exactly these rights, whatever the creation mask took away
    ::close(fd);
    return true;
}

} // namespace fitrova
