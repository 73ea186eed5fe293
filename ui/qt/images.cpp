#include "ui/qt/images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace adultify::qt {

namespace {

QImage Canvas(int width, int height, qreal ratio) {
    QImage image(qRound(width * ratio), qRound(height * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage FaceImage(int index, int size) {
    QImage image = Canvas(size, size, 1.0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QRadialGradient shade(QPointF(12, 10), 20);
    shade.setColorAt(0, QColor(255, 250, 120));
    shade.setColorAt(1, QColor(235, 190, 0));
    p.setBrush(shade);
    p.setPen(QPen(QColor(120, 80, 0), 1.2));
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 10));
    p.drawEllipse(QRectF(9.5, 9, 3.5, 5));
    p.drawEllipse(QRectF(19, 9, 3.5, 5));

    QPen mouth(QColor(60, 30, 10), 2.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(mouth);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (index) {
    case 0: // neutral
        p.drawLine(QPointF(10, 22), QPointF(22, 22));
        break;
    case 2: { // grinning, open mouth
        path.moveTo(8.5, 18.5);
        path.cubicTo(11, 27.5, 21, 27.5, 23.5, 18.5);
        path.closeSubpath();
        p.setBrush(QColor(120, 20, 20));
        p.drawPath(path);
        break;
    }
    case 3: // frowning
        path.moveTo(10, 25);
        path.quadTo(16, 18, 22, 25);
        p.drawPath(path);
        break;
    case 4: { // laughing, with a nose and open mouth
        p.setPen(QPen(QColor(150, 90, 0), 1.4));
        p.drawLine(QPointF(16, 13.5), QPointF(16, 17));
        p.setPen(mouth);
        path.moveTo(8, 19.5);
        path.lineTo(24, 19.5);
        path.quadTo(16, 30.5, 8, 19.5);
        p.setBrush(QColor(150, 20, 20));
        p.drawPath(path);
        break;
    }
    default: // smiling
        path.moveTo(9.5, 19.5);
        path.quadTo(16, 26.5, 22.5, 19.5);
        p.drawPath(path);
    }
    return image;
}

QIcon FaceIcon(int index) {
    static QIcon icons[5];
    QIcon& icon = icons[std::clamp(index, 0, 4)];
    if (icon.isNull())
        for (int size : {16, 24, 32, 48, 64, 128})
            icon.addPixmap(QPixmap::fromImage(FaceImage(index, size)));
    return icon;
}

QImage StockPicture(qreal ratio) {
    QImage image = Canvas(25, 25, ratio);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPen red(QColor(220, 0, 0), 3.0);
    p.setPen(red);
    p.drawEllipse(QRectF(3.5, 3.5, 18, 18));
    p.drawLine(QPointF(6.5, 18.5), QPointF(18.5, 6.5));
    return image;
}

QImage SplashPicture(qreal ratio) {
    QImage image = Canvas(320, 240, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(20, 60, 170));
    sky.setColorAt(1, QColor(0, 20, 90));
    p.fillRect(QRectF(0, 0, 320, 240), sky);

    // A green plumb-bob diamond above the title.
    QPainterPath bob;
    bob.moveTo(160, 56);
    bob.lineTo(174, 86);
    bob.lineTo(160, 116);
    bob.lineTo(146, 86);
    bob.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 0), 1.5));
    p.setBrush(QColor(60, 220, 60));
    p.drawPath(bob);

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(0, 118, 320, 56), Qt::AlignCenter, QStringLiteral("The Sims"));
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(24);
    p.setFont(name);
    p.setPen(QColor(255, 220, 90));
    p.drawText(QRectF(0, 168, 320, 34), Qt::AlignCenter, QStringLiteral("Adultify"));
    return image;
}

} // namespace adultify::qt
