#include "ImageSink.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <cstdio>

namespace imagegen {

QList<ProducerEntry>& producers()
{
    static QList<ProducerEntry> list;
    return list;
}

Registrar::Registrar(const char* name, Producer producer)
{
    producers().append({name, producer});
}

ImageSink::ImageSink(const QString& resourceDir, const QString& bundleDir)
    : m_resourceDir(resourceDir)
    , m_bundleDir(bundleDir)
{
}

QString ImageSink::withScale(const QString& name)
{
    const int dot = name.lastIndexOf('.');
    return name.left(dot) + "@2x" + name.mid(dot);
}

static bool writeImage(const QString& path, const QImage& image, int quality)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage out = image;
    if (path.endsWith(".jpg", Qt::CaseInsensitive) && out.hasAlphaChannel())
        out = out.convertToFormat(QImage::Format_RGB32);
    if (!out.save(path, nullptr, path.endsWith(".png", Qt::CaseInsensitive) ? -1 : quality)) {
        std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void ImageSink::save(const QString& name, const QImage& image, int quality)
{
    const bool ok = !image.isNull() && writeImage(m_resourceDir + "/" + name, image, quality);
    QMutexLocker lock(&m_mutex);
    if (!ok) {
        std::fprintf(stderr, "imagegen: picture %s failed\n", qPrintable(name));
        m_failed = true;
        return;
    }
    if (m_names.contains(name)) {
        std::fprintf(stderr, "imagegen: picture %s drawn twice\n", qPrintable(name));
        m_failed = true;
        return;
    }
    m_names.append(name);
}

void ImageSink::saveBundle(const QString& name, const QImage& image, int quality)
{
    const bool ok = !image.isNull() && writeImage(m_bundleDir + "/" + name, image, quality);
    QMutexLocker lock(&m_mutex);
    if (!ok)
        m_failed = true;
}

QStringList ImageSink::resourceNames() const
{
    QMutexLocker lock(&m_mutex);
    QStringList names = m_names;
    names.sort();
    return names;
}

} // namespace imagegen
