#include "app/qt/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library, whose initialiser the linker would otherwise drop.
static void InitResources() {
    Q_INIT_RESOURCE(tervan);
}

namespace tervan {

QIcon AppIcon() {
    // Drawn here rather than through an icon-engine plug-in, which a machine may lack.
    InitResources();
    QSvgRenderer renderer(QStringLiteral(":/tervan.svg"));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tervan
