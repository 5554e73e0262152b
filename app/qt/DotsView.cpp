#include "app/qt/DotsView.h"

#include "form/PreviewRules.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace tervan {

CDotsView::CDotsView(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus); // reachable by Tab, so a screen reader names it
}

void CDotsView::SetDots(const std::shared_ptr<const LogoDots>& dots) {
    m_image = QImage();
    if (dots && dots->width > 0 && dots->rows.height > 0) {
        // The rows are laid out as a 1-bit image's: a set bit, a dot that prints, is colour 1.
        QImage rows(dots->rows.pixels.data(), dots->width, dots->rows.height, dots->rows.stride,
                    QImage::Format_Mono);
        rows.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        m_image = rows.copy();
    }
    update();
}

void CDotsView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().dark());
    const DotsScale scale =
        ScaleDots(m_image.width(), m_image.height(), area.width(), area.height());
    if (scale.width > 0) {
        const QRect target(area.x() + (area.width() - scale.width) / 2,
                           area.y() + (area.height() - scale.height) / 2, scale.width,
                           scale.height);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, m_image);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace tervan
