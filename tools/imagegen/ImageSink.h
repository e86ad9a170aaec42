#pragma once

#include <QColor>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QStringList>

namespace imagegen {

// Where producers put their pictures. Names are resource names without the ":/" prefix
// ("appicon.png", "Banjo_0@2x.jpg"); the format follows the extension. Bundle files (the
// introduction slides) go to the bundle's resource folder instead of the compiled-in resources.
class ImageSink
{
public:
    ImageSink(const QString& resourceDir, const QString& bundleDir);

    void save(const QString& name, const QImage& image, int quality = 92);
    void saveBundle(const QString& name, const QImage& image, int quality = 90);

    // Saves a picture drawn for the 1x size both as name (1x) and as name@2x (2x), drawing it twice
    // so that both are crisp. draw(painter-ready image) receives the scale factor.
    template <typename Draw>
    void saveBoth(const QString& name, QSize logicalSize, Draw draw)
    {
        for (int scale = 1; scale <= 2; ++scale) {
            QImage image(logicalSize * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            draw(image, scale);
            save(scale == 1 ? name : withScale(name), image);
        }
    }

    static QString withScale(const QString& name);   // "a.png" -> "a@2x.png"

    QStringList resourceNames() const;
    bool failed() const { return m_failed; }

private:
    QString m_resourceDir;
    QString m_bundleDir;
    mutable QMutex m_mutex;
    QStringList m_names;
    bool m_failed = false;
};

using Producer = void (*)(ImageSink&);

struct Registrar
{
    Registrar(const char* name, Producer producer);
};

struct ProducerEntry
{
    const char* name;
    Producer producer;
};
QList<ProducerEntry>& producers();

} // namespace imagegen

// Registers a function that draws one group of pictures:
//   IMAGEGEN_PRODUCER(drawAppIcons) { sink.save("appicon.png", ...); }
#define IMAGEGEN_PRODUCER(fn)                                                              \
    static void fn(imagegen::ImageSink& sink);                                             \
    static const imagegen::Registrar fn##_registrar(#fn, &fn);                             \
    static void fn(imagegen::ImageSink& sink)
