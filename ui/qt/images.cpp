#include "ui/qt/images.h"

#include "ui/own_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace adultify::qt {

namespace {

QColor Colour(Rgb c) {
    return {c.r, c.g, c.b};
}

QPointF At(GridPoint p) {
    return {p.x, p.y};
}

QPainterPath PathOf(const Shape& s) {
    QPainterPath path;
    for (const PathStep& step : s.steps)
        switch (step.kind) {
        case PathStep::Kind::MoveTo: path.moveTo(At(step.a)); break;
        case PathStep::Kind::LineTo: path.lineTo(At(step.a)); break;
        case PathStep::Kind::QuadTo: path.quadTo(At(step.a), At(step.b)); break;
        case PathStep::Kind::CubicTo: path.cubicTo(At(step.a), At(step.b), At(step.c)); break;
        }
    if (s.fill) path.closeSubpath();
    return path;
}

void DrawText(QPainter& p, const Shape& s) {
    QFont font(s.face == TextFace::Serif ? QStringLiteral("DejaVu Serif")
                                         : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(s.size));
    font.setBold(s.bold);
    p.setFont(font);
    p.setPen(Colour(s.fill.value_or(Rgb{})));
    p.drawText(QRectF(At(s.at), At(s.to)), Qt::AlignCenter,
               QString::fromUtf8(s.words.data(), static_cast<qsizetype>(s.words.size())));
}

void DrawShape(QPainter& p, const Shape& s) {
    if (s.kind == Shape::Kind::Text) {
        DrawText(p, s);
        return;
    }
    const Qt::PenCapStyle cap = s.roundPen ? Qt::RoundCap : Qt::SquareCap;
    const Qt::PenJoinStyle join = s.roundPen ? Qt::RoundJoin : Qt::BevelJoin;
    p.setPen(s.pen ? QPen(Colour(*s.pen), s.penWidth, Qt::SolidLine, cap, join) : QPen(Qt::NoPen));
    p.setBrush(s.fill ? QBrush(Colour(*s.fill)) : QBrush(Qt::NoBrush));
    switch (s.kind) {
    case Shape::Kind::Ellipse: p.drawEllipse(QRectF(At(s.at), At(s.to))); break;
    case Shape::Kind::Line: p.drawLine(At(s.at), At(s.to)); break;
    case Shape::Kind::Path: p.drawPath(PathOf(s)); break;
    case Shape::Kind::Text: break;
    }
}

// `picture` at `scale` pixels a grid unit, on a device pixel ratio of `ratio`.
QImage Drawn(const OwnPicture& picture, double scale, qreal ratio) {
    QImage image(qRound(picture.width * scale * ratio), qRound(picture.height * scale * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QRectF whole(0, 0, picture.width, picture.height);
    if (picture.background && picture.backgroundBottom) {
        QLinearGradient blend(0, 0, 0, picture.height);
        blend.setColorAt(0, Colour(*picture.background));
        blend.setColorAt(1, Colour(*picture.backgroundBottom));
        p.fillRect(whole, blend);
    } else if (picture.background) {
        p.fillRect(whole, Colour(*picture.background));
    }
    for (const Shape& s : picture.shapes)
        DrawShape(p, s);
    return image;
}

} // namespace

QImage FaceImage(int index, int size) {
    return Drawn(FacePicture(index), size / 32.0, 1.0);
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
    return Drawn(adultify::StockPicture(), 1.0, ratio);
}

QImage SplashPicture(qreal ratio) {
    return Drawn(adultify::SplashPicture(), 1.0, ratio);
}

} // namespace adultify::qt
