#include "members/ui/memberphoto.h"

#include "members/memberstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace fitrova {

QPixmap loadMemberPhoto(const QString &picDir, const QString &mbCode)
{
    if (mbCode.isEmpty() || picDir.isEmpty())
        return {};
    const QString file = memberPhotoFile(picDir, mbCode);
    if (!QFileInfo::exists(file))
        return {};
    // By content, not by the name's ending: older photos may be JPEG files
    // under the .BMP name.
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage img = reader.read();
    return img.isNull() ? QPixmap() : QPixmap::fromImage(img);
}

void showMemberPhoto(QLabel *label, const QString &picDir, const QString &mbCode)
{
    const QPixmap p = loadMemberPhoto(picDir, mbCode);
    if (p.isNull()) {
        label->clear();
        label->setText(QStringLiteral("사진없음"));
        return;
    }
    label->setPixmap(p.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool saveMemberPhoto(const QImage &image, const QString &picDir, const QString &mbCode)
{
    if (image.isNull() || mbCode.isEmpty() || picDir.isEmpty())
        return false;
    if (!QDir().mkpath(picDir))
        return false;
    const QString file = memberPhotoFile(picDir, mbCode);
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    if (!image.convertToFormat(QImage::Format_RGB888).save(part, "BMP"))
        return false;
    QFile::remove(file);
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

bool removeMemberPhoto(const QString &picDir, const QString &mbCode)
{
    const QString file = memberPhotoFile(picDir, mbCode);
    return !QFileInfo::exists(file) || QFile::remove(file);
}

} // namespace fitrova
