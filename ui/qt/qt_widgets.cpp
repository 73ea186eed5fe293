#include "ui/qt/qt_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWheelEvent>

#include <cmath>

namespace adultify::qt {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick) onClick();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QLabel::mouseMoveEvent(event);
}

DropDown::DropDown(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus); // Qt's WheelFocus would take the focus with the wheel
}

void DropDown::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Not Qt's activated(): some desktops make a single click activate.
    QObject::connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (onOpen) onOpen(row(item));
    });
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QListWidget::keyPressEvent(event);
        return;
    }
    const QList<QListWidgetItem*> highlighted = selectedItems();
    if (!highlighted.isEmpty() && onOpen) onOpen(row(highlighted.first()));
    event->accept();
}

void MouseFrame::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QGroupBox::mouseMoveEvent(event);
}

PictureBox::PictureBox(QWidget* parent, bool bordered) : QWidget(parent), bordered_(bordered) {}

void PictureBox::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void PictureBox::ClearDrawing() {
    ops_.clear();
    update();
}

void PictureBox::AddOp(const Op& op) {
    ops_.push_back(op);
    update();
}

float PictureBox::InnerWidth() const {
    return static_cast<float>(width() - (bordered_ ? 4 : 0));
}
float PictureBox::InnerHeight() const {
    return static_cast<float>(height() - (bordered_ ? 4 : 0));
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int inset = bordered_ ? 2 : 0;
    const QRect inner = rect().adjusted(inset, inset, -inset, -inset);
    if (!ops_.empty()) p.fillRect(inner, Qt::white);
    if (!image_.isNull()) {
        const QSizeF logical = image_.deviceIndependentSize();
        QSizeF shown = logical;
        if (shown.width() > inner.width() || shown.height() > inner.height())
            shown.scale(inner.size(), Qt::KeepAspectRatio);
        p.drawImage(QRectF(QPointF(inner.topLeft()), shown), image_);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(inner.topLeft());
    for (const Op& op : ops_) {
        const QColor colour = op.colour ? QColor(op.colour->r, op.colour->g, op.colour->b)
                                        : palette().color(QPalette::WindowText);
        switch (op.kind) {
        case Op::Kind::Fill:
            p.fillRect(QRectF(QPointF(op.a, op.b), QPointF(op.c, op.d)).normalized(), colour);
            break;
        case Op::Kind::Line:
            p.setPen(QPen(colour, op.lineWidth));
            p.drawLine(QPointF(op.a, op.b), QPointF(op.c, op.d));
            break;
        case Op::Kind::Arc: {
            p.setPen(QPen(colour, op.lineWidth));
            // Counter-clockwise on screen from d to e; Qt's angles are counter-clockwise too.
            const double from = op.d * 180.0 / M_PI;
            double span = (op.e - op.d) * 180.0 / M_PI;
            if (span < 0) span += 360.0;
            const QRectF box(op.a - op.c, op.b - op.c, 2 * op.c, 2 * op.c);
            p.drawArc(box, qRound(from * 16), qRound(span * 16));
            break;
        }
        }
    }
    if (bordered_) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.frameShape = QFrame::StyledPanel;
        frame.state |= QStyle::State_Sunken;
        frame.lineWidth = 2;
        p.resetTransform();
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    }
}

void ShapeBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(fillStyle == 0 ? QBrush(palette().color(QPalette::WindowText)) : Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace adultify::qt
