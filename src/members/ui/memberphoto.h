#pragma once
// Member photos: one picture file per member, {MbCode}.BMP in the shared
// member picture folder, shown wherever the member is shown.

#include <QImage>
#include <QPixmap>
#include <QString>

class QLabel;

namespace fitrova {

// The photo, or a null pixmap when the member has none (or it is unreadable).
QPixmap loadMemberPhoto(const QString &picDir, const QString &mbCode);

// Shows the member's photo scaled into the label (cleared when there is none).
void showMemberPhoto(QLabel *label, const QString &picDir, const QString &mbCode);

// Writes the picture as the member's photo (a bitmap file), creating the
// folder when it is missing. False when the file cannot be written.
bool saveMemberPhoto(const QImage &image, const QString &picDir, const QString &mbCode);

// Removes the photo file; true when there is no photo afterwards.
bool removeMemberPhoto(const QString &picDir, const QString &mbCode);

} // namespace fitrova
