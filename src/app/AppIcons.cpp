#include "app/AppIcons.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace dbcopy {

namespace {

// A stack of three discs, the usual picture of a database, scaled to size.
QPixmap drumPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 128), size / 16.0));
    const qreal left = size * 0.15;
    const qreal width = size * 0.7;
    const qreal discHeight = size * 0.22;
    const QColor fills[] = {QColor(0, 128, 128), QColor(0, 160, 160), QColor(0, 192, 192)};
    for (int disc = 2; disc >= 0; --disc) {
        const qreal top = size * 0.1 + disc * size * 0.22;
        painter.setBrush(fills[disc]);
        painter.drawRect(QRectF(left, top + discHeight / 2, width, size * 0.22));
        painter.drawEllipse(QRectF(left, top + size * 0.22, width, discHeight));
        painter.drawEllipse(QRectF(left, top, width, discHeight));
    }
    return pixmap;
}

}  // namespace

QIcon databaseIcon() {
    QIcon icon;
    icon.addPixmap(drumPixmap(32));
    icon.addPixmap(drumPixmap(16));
    return icon;
}

}  // namespace dbcopy
