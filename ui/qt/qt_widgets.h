#pragma once
// The few widgets the windows need beyond Qt's own: labels and frames that report clicks and
// mouse moves, picture boxes that replay drawing operations, and shapes with a fill style.

#include "ui/keyboard.h"
#include "ui/window_system.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace adultify::qt {

// The keys the windows answer, and back: Qt's key code and modifiers for one of them.
[[nodiscard]] std::optional<Key> KeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
[[nodiscard]] std::pair<Qt::Key, Qt::KeyboardModifiers> QtKeyOf(Key key);

// A label that takes a mouse move reports it and keeps it from the window beneath, which would
// otherwise answer the same move as one over its background. One that takes the focus is
// clicked by Enter or Space.
class ClickLabel final : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onClick;
    std::function<void()> onMouseMove;

    // A single-line box drawn at device pixels (value labels, the status line).
    void SetBoxed(bool boxed);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool boxed_ = false;
};

// A horizontal scroll bar moved by the keys as on Windows (ScrollAfterKey).
class KeyScrollBar final : public QScrollBar {
  public:
    explicit KeyScrollBar(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A drop-down list the mouse wheel changes only while it has the focus: a wheel turned to
// scroll past it picks nothing.
class DropDown final : public QComboBox {
  public:
    explicit DropDown(QWidget* parent);

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A list whose first Down or Up, while no line is picked, picks the line the focus mark is on
// (the first, once the list has the focus) rather than the one after it.
class PickList final : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A folder list as folder choosers have it: a click highlights a folder, a double click or
// Enter opens it (Enter goes no further, to a button of the window); a long name is shown
// whole, the list scrolling sideways, and its full path on hover.
class FolderList final : public QListWidget {
  public:
    explicit FolderList(QWidget* parent);
    std::function<void(int row)> onOpen;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A box to type or paste a folder in: Enter opens it (and goes no further, to a button).
class FolderBox final : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    std::function<void()> onEnter;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The item data a list line is drawn by beyond its text: how deep a folder lies (indented by
// drawing, so that typed letters find the name) and the mark after the text (a LineMark).
inline constexpr int kDepthRole = Qt::UserRole + 1;
inline constexpr int kMarkRole = Qt::UserRole + 2;

// Draws a line indented by its depth and its mark after the text, the mark a small rounded
// tag ("child") painted at the screen's scale.
class LineDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
    // The tag's text, and its extent for a line of that font.
    static QString MarkText(LineMark mark);
    static QSize MarkSize(const QFont& font, LineMark mark);
};

// A frame drawn as of old: its border runs through the middle of its title, so that the
// controls placed inside it at the layout's positions clear both.
class MouseFrame final : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;
    std::function<void()> onMouseMove;
    // Where the border's top line lies, in pixels at 100 %.
    [[nodiscard]] int BorderTop() const;
    // The title's extent, background included.
    [[nodiscard]] QRect TitleRect() const;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// A sunken separator line, drawn at device pixels.
class EtchedLine final : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture box: an image, or drawing operations in the box's own pixels (replayed at paint
// time, so they stay sharp at any scale).
class PictureBox final : public QWidget {
  public:
    explicit PictureBox(QWidget* parent, bool bordered);

    struct Op {
        enum class Kind { Fill, Line, Arc } kind;
        float a, b, c, d, e;
        std::optional<Rgb> colour;
        int lineWidth;
    };

    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }
    void ClearDrawing();
    void AddOp(const Op& op);
    const std::vector<Op>& Ops() const { return ops_; }
    int lineWidth = 1;
    // The inner size in pixels at 100 %, the drawing operations' coordinates.
    float InnerWidth() const;
    float InnerHeight() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
    std::vector<Op> ops_;
    bool bordered_;
};

class ShapeBox final : public QWidget {
  public:
    using QWidget::QWidget;
    int fillStyle = 1; // 0 solid, 1 transparent

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace adultify::qt
