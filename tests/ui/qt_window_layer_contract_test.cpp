// The window layer's contract, run against the Qt implementation: a user's presses reach the
// real message boxes and dialogs through the event loop.
#include "tests/ui/window_layer_contract.h"

#include "ui/qt/qt_widgets.h"
#include "ui/qt/qt_window_system.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <utility>

namespace adultify {
namespace {

MsgIcon IconOf(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Critical: return MsgIcon::Critical;
    case QMessageBox::Question: return MsgIcon::Question;
    case QMessageBox::Warning: return MsgIcon::Exclamation;
    case QMessageBox::Information: return MsgIcon::Information;
    case QMessageBox::NoIcon: break;
    }
    return MsgIcon::None;
}

bool FitsAcross(const QFontMetrics& fm, const QString& text, int width) {
    return fm.horizontalAdvance(text) <= width;
}

bool LabelFits(const QLabel* label) {
    const QFontMetrics fm = label->fontMetrics();
    const QRect room = label->contentsRect();
    if (label->wordWrap())
        return fm.boundingRect(room, Qt::TextWordWrap, label->text()).height() <= room.height();
    return FitsAcross(fm, label->text(), room.width()) && fm.height() <= room.height();
}

bool ButtonFits(const QPushButton* button) {
    const QStyle* style = button->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    QString shown = button->text();
    shown.remove(u'&'); // the mnemonic's mark is an underline, not a character
    return FitsAcross(button->fontMetrics(), shown, button->width() - margins);
}

bool DropDownFits(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const int room =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    for (int i = 0; i < combo->count(); ++i)
        if (!FitsAcross(combo->fontMetrics(), combo->itemText(i), room)) return false;
    return true;
}

// Each line is laid out whole, and the list scrolls as far as its longest line.
bool ListFits(QListWidget* list) {
    list->doItemsLayout();
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        const int needed = list->fontMetrics().horizontalAdvance(item->text());
        if (list->visualItemRect(item).width() < needed) return false;
        widest = std::max(widest, needed);
    }
    return list->textElideMode() == Qt::ElideNone &&
           list->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
           list->horizontalScrollBar()->maximum() + list->viewport()->width() >= widest;
}

class QtDriver final : public RecordingDriver {
  public:
    QtDriver() { RecordEventsOf(ui_); }
    WindowSystem& ui() override { return ui_; }
    void AnswerNextMessage(MsgAnswer answer) override {
        OnNextMessage([answer](QMessageBox* box) {
            if (QAbstractButton* button = box->button(qt::ButtonOf(answer)))
                button->click();
            else
                ADD_FAILURE() << "the message box has no such button";
        });
    }
    void DismissNextMessage(Dismissal how) override {
        OnNextMessage([how](QMessageBox* box) {
            if (how == Dismissal::CloseBox)
                box->close();
            else
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box,
                                how == Dismissal::Enter ? Qt::Key_Return : Qt::Key_Escape);
        });
    }
    MessageSeen LastMessage() const override { return last_; }
    void WhenModal(std::function<void(FormId)> step) override {
        QTimer::singleShot(0, [step] {
            QWidget* window = QApplication::activeModalWidget();
            ASSERT_NE(window, nullptr) << "no modal window is open";
            const auto id = ControlId::Find(window->objectName().toStdString());
            ASSERT_TRUE(id.has_value());
            step(id->Form());
        });
    }
    std::vector<DrawKind> Drawn(ControlId box) const override {
        auto* picture = dynamic_cast<qt::PictureBox*>(ui_.Widget(box));
        return picture ? KindsOf(picture->Ops()) : std::vector<DrawKind>{};
    }
    void SetDosDevices(const std::filesystem::path& dosdevices) override {
        ui_.SetDosDevices(dosdevices);
    }
    void ClickLine(ControlId list, int index) override { Mouse(list, index, false); }
    void DoubleClickLine(ControlId list, int index) override { Mouse(list, index, true); }
    void Press(ControlId control, Key key) override {
        const auto [qtKey, modifiers] = qt::QtKeyOf(key);
        QTest::keyClick(ui_.Widget(control), qtKey, modifiers);
    }
    std::string HoverText(ControlId list, int index) const override {
        auto* l = qobject_cast<QListWidget*>(ui_.Widget(list));
        const QListWidgetItem* item = l ? l->item(index) : nullptr;
        return item ? item->toolTip().toStdString() : std::string();
    }
    void PressKey(FormId form, Key key) override {
        QWidget* window = ui_.Window(form);
        ASSERT_NE(window, nullptr);
        const auto [qtKey, modifiers] = qt::QtKeyOf(key);
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, qtKey, modifiers);
    }
    std::optional<ControlId> Focused(FormId form) const override {
        const QWidget* window = ui_.Window(form);
        const QWidget* focus = window ? window->focusWidget() : nullptr;
        if (!focus) return std::nullopt;
        return ControlId::Find(focus->objectName().toStdString());
    }
    // As the platform moves it: through the window, which finds the widget under the point.
    void PointerOver(ControlId control) override {
        QWidget* window = ui_.Window(control.Form());
        ASSERT_TRUE(window && window->windowHandle()) << "the window is shown";
        QPoint at;
        if (control.IsWindow())
            at = Background(window);
        else
            at = ui_.Widget(control)->mapTo(window, ui_.Widget(control)->rect().center());
        QTest::mouseMove(window->windowHandle(), at);
        QApplication::processEvents();
    }
    std::string TitleShown(FormId form) const override {
        QWidget* window = ui_.Window(form);
        window->winId(); // the platform's window, which shows the title
        return window->windowHandle()->title().toStdString();
    }
    std::string LineShown(ControlId list, int index) const override {
        ui_.Flush(true);
        if (auto* combo = qobject_cast<QComboBox*>(ui_.Widget(list)))
            return combo->itemText(index).toStdString();
        const auto* l = qobject_cast<QListWidget*>(ui_.Widget(list));
        const QListWidgetItem* item = l ? l->item(index) : nullptr;
        return item ? item->text().toStdString() : std::string();
    }
    bool Resizable(FormId form) const override {
        QWidget* window = ui_.Window(form);
        if (window->layout()) window->layout()->activate();
        return window->minimumSize() != window->maximumSize();
    }
    bool TextFits(ControlId control) const override {
        ui_.Flush(true);
        QWidget* w = ui_.Widget(control);
        if (auto* frame = dynamic_cast<qt::MouseFrame*>(w))
            return frame->TitleRect().right() < frame->width() &&
                   frame->TitleRect().height() <= frame->fontMetrics().height();
        if (auto* label = qobject_cast<QLabel*>(w)) return LabelFits(label);
        if (auto* button = qobject_cast<QPushButton*>(w)) return ButtonFits(button);
        if (auto* combo = qobject_cast<QComboBox*>(w)) return DropDownFits(combo);
        if (auto* list = qobject_cast<QListWidget*>(w)) return ListFits(list);
        ADD_FAILURE() << control << " shows no text this driver can measure";
        return false;
    }

    void Type(ControlId control, std::string_view text) override {
        QWidget* w = ui_.Widget(control);
        ASSERT_NE(w, nullptr) << control;
        w->setFocus();
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            box->selectAll();
            QTest::keyClicks(box, QString::fromUtf8(text.data(), std::ssize(text)));
            return;
        }
        // Letters typed apart: each one a search of its own.
        for (const char letter : text) {
            QTest::qWait(QApplication::keyboardInputInterval() + 20);
            QTest::keyClicks(w, QString(QChar(letter)));
        }
    }
    // What the line looks like with its mark and without: the same, when none is drawn.
    bool MarkShown(ControlId list, int index) override {
        ui_.Flush(true);
        auto* l = qobject_cast<QListWidget*>(ui_.Widget(list));
        QListWidgetItem* item = l ? l->item(index) : nullptr;
        if (!item) return false;
        const LineMark mark = ui_.ListMark(list, index);
        auto shot = [&] {
            l->viewport()->repaint();
            return l->viewport()->grab(l->visualItemRect(item)).toImage();
        };
        const QImage with = shot();
        ui_.ListSetMark(list, index, LineMark::None);
        const QImage without = shot();
        ui_.ListSetMark(list, index, mark);
        return with != without;
    }
    LaidOut WindowPlace(FormId form) const override {
        const QRect r = ui_.Window(form)->frameGeometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    void PutWindowAt(FormId form, int x, int y) override { ui_.Window(form)->move(x, y); }
    void ResizeClient(FormId form, int width, int height) override {
        ui_.Window(form)->resize(width, height);
        QApplication::processEvents();
    }
    LaidOut Placed(ControlId control) const override {
        const QRect r = ui_.Widget(control)->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }

  private:
    void Mouse(ControlId list, int index, bool twice) {
        if (auto* combo = qobject_cast<QComboBox*>(ui_.Widget(list))) {
            combo->showPopup();
            QAbstractItemView* view = combo->view();
            const QRect at = view->visualRect(view->model()->index(index, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at.center());
            return;
        }
        auto* l = qobject_cast<QListWidget*>(ui_.Widget(list));
        ASSERT_NE(l, nullptr) << list;
        QListWidgetItem* item = l->item(index);
        ASSERT_NE(item, nullptr) << list << " has no line " << index;
        l->scrollToItem(item);
        const QPoint at = l->visualItemRect(item).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        // A window system sends a double click as a click, then the second press.
        if (twice) QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }

    // A point of the window that no control covers.
    static QPoint Background(const QWidget* window) {
        for (int y = 2; y < window->height(); y += 2)
            for (int x = 2; x < window->width(); x += 2)
                if (!window->childAt(x, y)) return {x, y};
        ADD_FAILURE() << "the window has no free background";
        return {};
    }

    void OnNextMessage(std::function<void(QMessageBox*)> act) {
        QTimer::singleShot(0, [this, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box is open";
            const QMessageBox::StandardButtons has = box->standardButtons();
            // The lines the box's label shows at the width it was given.
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            const QFontMetrics fm = label->fontMetrics();
            const QRect shown = fm.boundingRect(
                label->contentsRect(), label->wordWrap() ? Qt::TextWordWrap : 0, label->text());
            const bool cut = shown.width() > label->contentsRect().width() ||
                             label->geometry().right() >= box->width();
            last_ = {
                box->text().toStdString(), box->windowTitle().toStdString(),
                has.testFlag(QMessageBox::Cancel)                      ? MsgButtons::YesNoCancel
                : !has.testFlag(QMessageBox::Yes)                      ? MsgButtons::Ok
                : box->defaultButton() == box->button(QMessageBox::No) ? MsgButtons::YesNoDefaultNo
                                                                       : MsgButtons::YesNo,
                IconOf(box->icon()), cut ? -1 : qRound(double(shown.height()) / fm.lineSpacing())};
            act(box);
            if (box->isVisible()) {
                ADD_FAILURE() << "the message box stayed open";
                box->done(QMessageBox::Cancel);
            }
        });
    }

    mutable qt::QtWindowSystem ui_;
    MessageSeen last_;
};

// What only pixels show, at the scale the program runs at (run again at 150 % and 200 %).
class QtPixels : public ::testing::Test {
  protected:
    QImage Grab(ControlId control) {
        ui.ShowForm(control.Form());
        ui.Flush(true);
        QWidget* w = control.IsWindow() ? ui.Window(control.Form()) : ui.Widget(control);
        return w->grab().toImage();
    }
    qt::QtWindowSystem ui;
};

// The rows and columns of device pixels along an image's edges.
std::vector<QRgb> Edge(const QImage& image, bool row, int at) {
    std::vector<QRgb> pixels;
    const int n = row ? image.width() : image.height();
    for (int i = 0; i < n; ++i)
        pixels.push_back(row ? image.pixel(i, at) : image.pixel(at, i));
    return pixels;
}

TEST_F(QtPixels, TheSplashIsItsPictureToTheLastPixelAtTheScreensScale) {
    const QImage shot = Grab("frmSplash");
    const QRgb background = ui.Window("frmSplash")->palette().color(QPalette::Window).rgb();
    ASSERT_FALSE(shot.isNull());
    for (const auto& [row, at] : {std::pair{true, shot.height() - 1}, {false, shot.width() - 1}})
        for (QRgb pixel : Edge(shot, row, at))
            ASSERT_NE(pixel, background)
                << (row ? "bottom" : "right") << " edge shows the window behind the picture";
}

// Seen where the window paints them: at 150 % a control may start half a device pixel into a
// row, and a side drawn past its last whole row is lost.
TEST_F(QtPixels, OutlinesAreWholeOnEverySideAtTheScreensScale) {
    ui.LoadForm("Form3");
    const QImage shot = Grab("Form3");
    const qreal dpr = ui.Window("Form3")->devicePixelRatioF();
    for (ControlId shape : {ControlId("Form3.Shape1"), kShape2[0]}) {
        const QWidget* w = ui.Widget(shape);
        const QRgb ink = w->palette().color(QPalette::WindowText).rgb();
        const QRect at(w->mapTo(w->window(), QPoint(0, 0)), w->size());
        const int left = static_cast<int>(std::ceil(at.left() * dpr)),
                  top = static_cast<int>(std::ceil(at.top() * dpr));
        const int right = static_cast<int>((at.left() + at.width()) * dpr) - 1,
                  bottom = static_cast<int>((at.top() + at.height()) * dpr) - 1;
        // Each side: a whole line of ink on the outermost row or column, or the one inside it.
        const auto whole = [&](bool row, int from, int step) {
            for (int line = from; line != from + 2 * step; line += step) {
                int inked = 0;
                for (int i = row ? left : top; i <= (row ? right : bottom); ++i)
                    inked += shot.pixel(row ? i : line, row ? line : i) == ink;
                if (inked >= (row ? right - left : bottom - top)) return true;
            }
            return false;
        };
        EXPECT_TRUE(whole(true, top, 1)) << shape << " top";
        EXPECT_TRUE(whole(true, bottom, -1)) << shape << " bottom";
        EXPECT_TRUE(whole(false, left, 1)) << shape << " left";
        EXPECT_TRUE(whole(false, right, -1)) << shape << " right";
    }
}

// A frame's title and the controls inside it never share a pixel, with the longest titles the
// program writes.
TEST_F(QtPixels, NoControlLiesOnItsFramesTitleAtTheScreensScale) {
    for (FormId form : AllForms()) {
        ui.ShowForm(form);
        for (const ControlDesign& c : form.Controls()) {
            auto* frame = dynamic_cast<qt::MouseFrame*>(ui.Widget(form.IdOf(c)));
            if (!frame) continue;
            if (c.name == "Form3.Frame1") frame->setTitle("Status Change - Mechanical");
            for (const QWidget* inside :
                 frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                EXPECT_FALSE(inside->geometry().intersects(frame->TitleRect()))
                    << inside->objectName().toStdString() << " on the title of " << c.name;
                EXPECT_GT(inside->geometry().top(), frame->BorderTop())
                    << inside->objectName().toStdString() << " on the border of " << c.name;
            }
            EXPECT_GT(frame->TitleRect().bottom(), frame->BorderTop()) << "the border runs "
                                                                          "through the title";
        }
        ui.UnloadForm(form);
    }
}

TEST(QtLists, ListsDropDownsAndScrollBarsShowAFrameWhileTheyHaveTheFocus) {
    qt::QtWindowSystem ui;
    ui.ShowForm("Form1");
    ui.ShowForm("Form3");
    for (ControlId id : {ControlId("List1"), ControlId("Combo1"), ControlId("Form3.HScroll1"),
                         ControlId("Command1")}) {
        QWidget* w = ui.Widget(id);
        QApplication::setActiveWindow(w->window());
        w->setEnabled(true);
        w->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        const auto* frame = w->window()->findChild<QFocusFrame*>();
        const bool framed = frame && frame->isVisible() && frame->widget() == w;
        EXPECT_EQ(framed, id != ControlId("Command1")) << id << ": a button marks its own focus";
    }
}

TEST(QtLists, TheFirstDownOnAListWithNothingPickedPicksTheFirstLine) {
    qt::QtWindowSystem ui;
    std::vector<Reported> reported;
    ui.eventSink = [&](ControlId control, UiEvent event) {
        reported.push_back({control, event});
        return true;
    };
    ui.ShowForm("frmSnapshots");
    for (const char* line : {"newest", "older", "oldest"})
        ui.ListAdd("frmSnapshots.List1", line);
    ui.Flush(true);
    QWidget* list = ui.Widget("frmSnapshots.List1");
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(ui.ListSelected("frmSnapshots.List1", 0));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(ui.ListSelected("frmSnapshots.List1", 1)) << "and on from there";
    EXPECT_EQ(reported, (std::vector<Reported>(2, {"frmSnapshots.List1", UiEvent::Click})));
    ui.UnloadForm("frmSnapshots");
}

ADULTIFY_WINDOW_LAYER_CONTRACT(Qt, QtDriver, "QtWidgets");

} // namespace
} // namespace adultify
