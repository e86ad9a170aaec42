#pragma once

#include <QPixmap>
#include <QString>

namespace QMMultiMedia {

// The cover picture of an audio file: the first picture beside it (by name, ignoring case) that
// loads, else the fallback resource; a null picture when there is none. Pictures are read at most
// 1024 pixels a side. One that is not a PNG, JPEG, GIF, BMP or TIFF by its content, or whose header
// gives no size or more than 4096 x 4096 pixels, is passed over unread, and the search gives up once
// it has spent 50 ms of processor time: no picture file holds up the caller for long or takes
// memory in proportion to what it claims.
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
