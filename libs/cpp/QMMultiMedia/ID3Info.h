#pragma once

#include <QPixmap>
#include <QString>

namespace QMMultiMedia {

// The cover picture of an audio file: the first picture beside it (by name, ignoring case) that
// loads, else the fallback resource; a null picture when there is none. Pictures are read at most
// 1024 pixels a side; one that claims more than 4096 x 4096 pixels, or whose format does not say
// its size, is passed over unread, and the search gives up once it has spent 50 ms of processor
// time, so that no picture file holds up the caller or takes memory in proportion to its claims.
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
