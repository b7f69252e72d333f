#include "ui/ApplicationIcon.h"

#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace ui {

namespace {

// Stands in while the rendered icon is not compiled in: a dark cricket body on a green disc.
QPixmap DrawnIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x7d, 0x44));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    painter.setBrush(QColor(0x2b, 0x22, 0x1a));
    painter.drawEllipse(QRectF(size * 0.25, size * 0.3, size * 0.5, size * 0.45));
    return pixmap;
}

} // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        const QString path = QStringLiteral(":/icon/kirorin-%1.png").arg(size);
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        } else {
            icon.addPixmap(DrawnIcon(size));
        }
    }
    return icon;
}

} // namespace ui
