#pragma once

#include <QPixmap>
#include <QString>

namespace QMMultiMedia {

// The cover picture of an audio file: the first picture beside it (by name, ignoring case) that
// loads, else the fallback resource; a null picture when there is none.
class ID3Info
{
public:
    explicit ID3Info(const QString& fileName);
    ID3Info(const ID3Info& other) = default;
    virtual ~ID3Info();

    const QPixmap& cover() const { return m_cover; }

private:
    QString m_fileName;
    QPixmap m_cover;
};

} // namespace QMMultiMedia
