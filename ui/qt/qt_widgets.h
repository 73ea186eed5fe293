#pragma once
// The few widgets the windows need beyond Qt's own: labels and frames that report clicks and
// mouse moves, picture boxes that replay drawing operations, and shapes with a fill style.

#include "ui/window_system.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace adultify::qt {

class ClickLabel final : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onClick;
    std::function<void()> onMouseMove;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// A drop-down list the mouse wheel changes only while it has the focus: a wheel turned to
// scroll past it picks nothing.
class DropDown final : public QComboBox {
  public:
    explicit DropDown(QWidget* parent);

  protected:
    void wheelEvent(QWheelEvent* event) override;
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

class MouseFrame final : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;
    std::function<void()> onMouseMove;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
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
