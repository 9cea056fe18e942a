#include "help/ui/ShippedFiles.h"

#include <QDir>
#include <QFileInfo>

namespace lmhelp {

QStringList ShippedFolders(const QString& programFolder)
{
    const QDir beside(programFolder);
    return {beside.absolutePath(),
            QDir::cleanPath(beside.absoluteFilePath(QStringLiteral(LM_DATA_FROM_BIN)))};
}

QString FindShippedFile(const QString& programFolder, const QString& name)
{
    const QStringList folders = ShippedFolders(programFolder);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return QDir(folders.first()).filePath(name);
}

} // namespace lmhelp
