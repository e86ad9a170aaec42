#include "QMMultiMedia/ID3Info.h"

#include "QMMultiMedia/MediaCommon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace QMMultiMedia {

ID3Info::ID3Info(const QString& fileName)
    : m_fileName(fileName)
{
    // Only a regular file is opened: opening a FIFO would wait for a writer.
    QFile file(fileName);
    if (QFileInfo(fileName).isFile() && file.open(QIODevice::ReadOnly))
        file.close();
    if (m_cover.isNull()) {
        const QString folder = QFileInfo(fileName).absolutePath();
        const QDir dir(folder);
        const QStringList names = dir.entryList({QStringLiteral("*")}, QDir::Files, QDir::NoSort);
        for (const QString& name : names) {
            if (!MediaCommon::isImage(name))
                continue;
            m_cover.load(folder + QLatin1Char('/') + name);
            if (!m_cover.isNull())
                break;
        }
    }
    if (m_cover.isNull())
        m_cover.load(QStringLiteral(":/pix/Dadurud.png"));
}

ID3Info::~ID3Info() = default;

} // namespace QMMultiMedia
