#pragma once

#include "bitmap/Dither.h"

#include <QFrame>
#include <QImage>

#include <memory>

namespace tervan {

// A logo's dots, black on white as the printer prints them: one pixel a dot when they fit, else
// scaled down as a whole without smoothing, so the picture stays made of dots.
class CDotsView : public QFrame {
    Q_OBJECT

public:
    explicit CDotsView(QWidget* parent);

    // Null shows none.
    void SetDots(const std::shared_ptr<const LogoDots>& dots);
    const QImage& Image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

} // namespace tervan
