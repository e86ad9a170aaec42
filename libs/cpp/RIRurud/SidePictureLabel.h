#pragma once

#include "REZirudid/Label.h"

#include <QSize>
#include <QString>

namespace RIRurud {

// A side picture of an instrument page: a label that covers itself with its picture (Expand mode)
// and decodes the picture when it is painted, straight at the label's device size and cut to it.
// A page that has never been shown holds no picture, the sizes a window passes through while it
// is being shown cost nothing, and painting needs no scaling. A picture that cannot be read leaves
// the label empty.
class SidePictureLabel : public REZirudid::Label
{
    Q_OBJECT
public:
    explicit SidePictureLabel(const QString& resource, QWidget* parent = nullptr);

    QString resource() const { return m_resource; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void decodeForCurrentSize();

    QString m_resource;
    QSize m_decodedSize;   // the device size of the picture held, empty before the first decode
};

} // namespace RIRurud
