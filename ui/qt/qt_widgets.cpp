#include "ui/qt/qt_widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace adultify::qt {

namespace {

constexpr std::pair<Qt::Key, Key> kKeys[] = {
    {Qt::Key_Tab, Key::Tab},     {Qt::Key_Backtab, Key::BackTab}, {Qt::Key_Return, Key::Enter},
    {Qt::Key_Enter, Key::Enter}, {Qt::Key_Escape, Key::Escape},   {Qt::Key_Space, Key::Space},
    {Qt::Key_Left, Key::Left},   {Qt::Key_Right, Key::Right},     {Qt::Key_Up, Key::Up},
    {Qt::Key_Down, Key::Down},   {Qt::Key_PageUp, Key::PageUp},   {Qt::Key_PageDown, Key::PageDown},
    {Qt::Key_Home, Key::Home},   {Qt::Key_End, Key::End},
};

// The device pixels a widget paints on: its scale, and how far into a pixel it starts (at
// 150 % a control at an odd position starts half a pixel in).
struct DeviceGrid {
    qreal dpr = 1;
    QPointF into;
};

// From here on the painter works in the device's own pixels, so that outlines land on whole
// pixels at any scale and wherever the widget lies.
DeviceGrid InDevicePixels(QPainter& p, const QWidget* w) {
    const qreal dpr = w->devicePixelRatioF();
    const QPointF at = p.deviceTransform().map(QPointF(0, 0));
    const QPointF into(at.x() - std::floor(at.x()), at.y() - std::floor(at.y()));
    p.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr).translate(-into.x(), -into.y()));
    p.setRenderHint(QPainter::Antialiasing, false);
    return {dpr, into};
}

// The device pixels a logical rectangle wholly covers: a pixel it covers only in part may lie
// outside what the widget may paint.
QRect DeviceRect(const QRect& r, const DeviceGrid& g) {
    constexpr qreal kSlack = 1e-6; // 0.1 * 1.5 and the like are not exact
    const auto from = [](qreal at) { return static_cast<int>(std::ceil(at - kSlack)); };
    const auto to = [](qreal at) { return static_cast<int>(std::floor(at + kSlack)); };
    const int left = from(g.into.x() + r.x() * g.dpr), top = from(g.into.y() + r.y() * g.dpr);
    const int right = to(g.into.x() + (r.x() + r.width()) * g.dpr),
              bottom = to(g.into.y() + (r.y() + r.height()) * g.dpr);
    return {left, top, right - left, bottom - top};
}

// A one-pixel line at 100 % stays whole at any scale: 1 device pixel at 150 %, 2 at 200 %.
int LineWidth(qreal dpr) {
    return std::max(1, static_cast<int>(dpr));
}

// An outline `width` device pixels wide just inside `d`.
void Bevel(QPainter& p, const QRect& d, int width, const QColor& topLeft,
           const QColor& bottomRight) {
    p.fillRect(QRect(d.left(), d.top(), d.width(), width), topLeft);
    p.fillRect(QRect(d.left(), d.top(), width, d.height()), topLeft);
    p.fillRect(QRect(d.left(), d.top() + d.height() - width, d.width(), width), bottomRight);
    p.fillRect(QRect(d.left() + d.width() - width, d.top(), width, d.height()), bottomRight);
}

} // namespace

std::optional<Key> KeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey == Qt::Key_Tab && modifiers.testFlag(Qt::ShiftModifier)) return Key::BackTab;
    for (const auto& [q, key] : kKeys)
        if (q == qtKey) return key;
    return std::nullopt;
}

std::pair<Qt::Key, Qt::KeyboardModifiers> QtKeyOf(Key key) {
    for (const auto& [q, k] : kKeys)
        if (k == key) return {q, Qt::NoModifier};
    return {Qt::Key_unknown, Qt::NoModifier};
}

void ClickLabel::SetBoxed(bool boxed) {
    boxed_ = boxed;
    setContentsMargins(boxed ? QMargins(3, 1, 3, 1) : QMargins()); // text clear of the box
    update();
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick) onClick();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    if (!onMouseMove) return QLabel::mouseMoveEvent(event); // passed on to the window
    onMouseMove();
    event->accept();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    const std::optional<Key> key = KeyOf(event->key(), event->modifiers());
    if (onClick && (key == Key::Enter || key == Key::Space)) {
        onClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter p(this);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = contentsRect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
    if (!boxed_) return;
    const DeviceGrid g = InDevicePixels(p, this);
    const QColor ink = palette().color(QPalette::WindowText);
    Bevel(p, DeviceRect(rect(), g), LineWidth(g.dpr), ink, ink);
}

KeyScrollBar::KeyScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void KeyScrollBar::keyPressEvent(QKeyEvent* event) {
    const std::optional<Key> key = KeyOf(event->key(), event->modifiers());
    if (!key || !MovesAScrollBar(*key)) return QScrollBar::keyPressEvent(event);
    setValue(ScrollAfterKey(*key, value(), {minimum(), maximum(), singleStep(), pageStep()}));
    event->accept();
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
    setItemDelegate(new LineDelegate(this));
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

namespace {
constexpr int kIndent = 12; // pixels per folder level
constexpr int kMarkGap = 6; // between a line's text and its mark

QFont MarkFont(const QFont& line) {
    QFont font = line;
    font.setPointSizeF(line.pointSizeF() > 0 ? line.pointSizeF() * 0.85 : 7);
    return font;
}

LineMark MarkOf(const QModelIndex& index) {
    return static_cast<LineMark>(index.data(kMarkRole).toInt());
}
} // namespace

QString LineDelegate::MarkText(LineMark mark) {
    return mark == LineMark::Child ? QStringLiteral("child") : QString();
}

QSize LineDelegate::MarkSize(const QFont& font, LineMark mark) {
    if (mark == LineMark::None) return {};
    const QFontMetrics fm(MarkFont(font));
    return {fm.horizontalAdvance(MarkText(mark)) + fm.height() / 2 + 2, fm.height()};
}

void LineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.rect.adjust(index.data(kDepthRole).toInt() * kIndent, 0, 0, 0);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const LineMark mark = MarkOf(index);
    if (mark == LineMark::None) return;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int textWidth = opt.fontMetrics.horizontalAdvance(opt.text);
    const QSize size = MarkSize(opt.font, mark);
    const QRectF tag(text.left() + textWidth + kMarkGap,
                     text.center().y() - size.height() / 2.0 + 0.5, size.width(), size.height());
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    const QColor ink = selected ? opt.palette.color(QPalette::HighlightedText) : QColor(0, 96, 160);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(ink, 1));
    painter->setBrush(selected ? Qt::NoBrush : QBrush(QColor(224, 240, 255)));
    painter->drawRoundedRect(tag.adjusted(0.5, 0.5, -0.5, -0.5), size.height() / 2.5,
                             size.height() / 2.5);
    painter->setFont(MarkFont(opt.font));
    painter->drawText(tag, Qt::AlignCenter, MarkText(mark));
    painter->restore();
}

QSize LineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += index.data(kDepthRole).toInt() * kIndent;
    if (const LineMark mark = MarkOf(index); mark != LineMark::None)
        size.rwidth() += kMarkGap + MarkSize(option.font, mark).width();
    return size;
}

void PickList::keyPressEvent(QKeyEvent* event) {
    const bool step = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (step && selectedItems().isEmpty() && currentItem()) {
        currentItem()->setSelected(true);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (onEnter) onEnter();
    event->accept();
}

void MouseFrame::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QGroupBox::mouseMoveEvent(event);
}

int MouseFrame::BorderTop() const {
    return fontMetrics().height() / 2;
}

QRect MouseFrame::TitleRect() const {
    if (title().isEmpty()) return {};
    const QFontMetrics fm = fontMetrics();
    return {6, 0, fm.horizontalAdvance(title()) + 4, fm.height()};
}

void MouseFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const DeviceGrid g = InDevicePixels(p, this);
    const int w = LineWidth(g.dpr);
    // Etched: a shadow line with a light one beside it, as the old dialog frames.
    const QRect border = DeviceRect(rect().adjusted(0, BorderTop(), 0, 0), g);
    Bevel(p, border.adjusted(w, w, 0, 0), w, palette().color(QPalette::Light),
          palette().color(QPalette::Light));
    Bevel(p, border.adjusted(0, 0, -w, -w), w, palette().color(QPalette::Mid),
          palette().color(QPalette::Mid));
    const QRect titleRect = TitleRect();
    if (titleRect.isEmpty()) return;
    p.fillRect(DeviceRect(titleRect, g), palette().color(QPalette::Window));
    p.setWorldTransform(QTransform());
    style()->drawItemText(&p, titleRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          palette(), isEnabled(), title(), QPalette::WindowText);
}

void EtchedLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const DeviceGrid g = InDevicePixels(p, this);
    const QRect d = DeviceRect(rect(), g);
    p.fillRect(QRect(d.left(), d.top(), d.width(), LineWidth(g.dpr)),
               palette().color(QPalette::Mid));
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
        // Sunken, two pixels at 100 %: the outer line shadow over light, the inner dark over
        // the face colour.
        p.resetTransform();
        const DeviceGrid g = InDevicePixels(p, this);
        const int whole = qRound(2 * g.dpr);
        const int outer = (whole + 1) / 2;
        const QRect d = DeviceRect(rect(), g);
        Bevel(p, d, outer, palette().color(QPalette::Mid), palette().color(QPalette::Light));
        Bevel(p, d.adjusted(outer, outer, -outer, -outer), whole - outer,
              palette().color(QPalette::Shadow), palette().color(QPalette::Midlight));
    }
}

void ShapeBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const DeviceGrid g = InDevicePixels(p, this);
    const QRect d = DeviceRect(rect(), g);
    const QColor ink = palette().color(QPalette::WindowText);
    if (fillStyle == 0)
        p.fillRect(d, ink);
    else
        Bevel(p, d, LineWidth(g.dpr), ink, ink);
}

} // namespace adultify::qt
