#include "app/gui/face_icon_files.h"

#include "ui/qt/images.h"

#include <QDir>
#include <QSaveFile>

namespace adultify {

QString WriteFaceIcons(const QString& folder, const QString& name, const std::vector<int>& sizes) {
    for (const int size : sizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir)) return QStringLiteral("cannot create the folder %1").arg(dir);
        QSaveFile file(QStringLiteral("%1/%2.png").arg(dir, name));
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        if (!qt::FaceImage(kIconFace, size).save(&file, "PNG") || !file.commit())
            return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
    }
    return {};
}

} // namespace adultify
