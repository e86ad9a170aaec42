#pragma once

#include <QLabel>
#include <QPixmap>

namespace REZirudid {

// A QLabel that draws a double-resolution picture sharply over its plain content.
class Label : public QLabel
{
    Q_OBJECT
public:
    enum Mode {
        Fit = 0,     // the whole picture, aspect kept, centred
        Expand = 1   // covers the label, aspect kept, from the top-left; the excess is cut off
    };

    explicit Label(QWidget* parent = nullptr);

    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }

    void setRetinaPixmap(const QPixmap& pixmap);
    QPixmap retinaPixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
    Mode m_mode = Fit;
};

} // namespace REZirudid
