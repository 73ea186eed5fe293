// The window layer's contract, run against the Qt implementation: a user's presses reach the
// real message boxes and dialogs through the event loop.
#include "tests/ui/window_layer_contract.h"

#include "ui/qt/qt_widgets.h"
#include "ui/qt/qt_window_system.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace adultify {
namespace {

MsgIcon IconOf(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Critical:
        return MsgIcon::Critical;
    case QMessageBox::Question:
        return MsgIcon::Question;
    case QMessageBox::Warning:
        return MsgIcon::Exclamation;
    case QMessageBox::Information:
        return MsgIcon::Information;
    case QMessageBox::NoIcon:
        break;
    }
    return MsgIcon::None;
}

class QtDriver final : public WindowLayerDriver {
  public:
    QtDriver() {
        ui_.eventSink = [this](ControlId control, UiEvent event) {
            events_.push_back({std::string(control.Name()), event});
            return true;
        };
    }
    WindowSystem& ui() override { return ui_; }
    void AnswerNextMessage(MsgAnswer answer) override {
        OnNextMessage([answer](QMessageBox* box) {
            const QMessageBox::StandardButton press = answer == MsgAnswer::Yes  ? QMessageBox::Yes
                                                      : answer == MsgAnswer::No ? QMessageBox::No
                                                      : answer == MsgAnswer::Cancel
                                                          ? QMessageBox::Cancel
                                                          : QMessageBox::Ok;
            if (QAbstractButton* button = box->button(press))
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
                QTest::keyClick(box, Qt::Key_Escape);
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
        std::vector<DrawKind> kinds;
        auto* picture = dynamic_cast<qt::PictureBox*>(ui_.Widget(box));
        if (!picture) return kinds;
        for (const qt::PictureBox::Op& op : picture->Ops()) {
            if (op.kind == qt::PictureBox::Op::Kind::Fill) kinds.push_back(DrawKind::Fill);
            if (op.kind == qt::PictureBox::Op::Kind::Line) kinds.push_back(DrawKind::Line);
            if (op.kind == qt::PictureBox::Op::Kind::Arc) kinds.push_back(DrawKind::Arc);
        }
        return kinds;
    }
    void SetDosDevices(const std::filesystem::path& dosdevices) override {
        ui_.SetDosDevices(dosdevices);
    }
    void ClickLine(ControlId list, int index) override { Mouse(list, index, false); }
    void DoubleClickLine(ControlId list, int index) override { Mouse(list, index, true); }
    void Press(ControlId control, Key key) override {
        QTest::keyClick(ui_.Widget(control), key == Key::Up     ? Qt::Key_Up
                                             : key == Key::Down ? Qt::Key_Down
                                                                : Qt::Key_Return);
    }
    std::string HoverText(ControlId list, int index) const override {
        auto* l = qobject_cast<QListWidget*>(ui_.Widget(list));
        const QListWidgetItem* item = l ? l->item(index) : nullptr;
        return item ? item->toolTip().toStdString() : std::string();
    }
    std::vector<EventSeen> Events() const override { return events_; }

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

    void OnNextMessage(std::function<void(QMessageBox*)> act) {
        QTimer::singleShot(0, [this, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box is open";
            const QMessageBox::StandardButtons has = box->standardButtons();
            last_ = {box->text().toStdString(), box->windowTitle().toStdString(),
                     has.testFlag(QMessageBox::Cancel) ? MsgButtons::YesNoCancel
                     : !has.testFlag(QMessageBox::Yes) ? MsgButtons::Ok
                     : box->defaultButton() == box->button(QMessageBox::No)
                         ? MsgButtons::YesNoDefaultNo
                         : MsgButtons::YesNo,
                     IconOf(box->icon())};
            act(box);
            if (box->isVisible()) {
                ADD_FAILURE() << "the message box stayed open";
                box->done(QMessageBox::Cancel);
            }
        });
    }

    qt::QtWindowSystem ui_;
    MessageSeen last_;
    std::vector<EventSeen> events_;
};

std::unique_ptr<WindowLayerDriver> MakeQt() {
    return std::make_unique<QtDriver>();
}

INSTANTIATE_TEST_SUITE_P(Qt, WindowLayerContract, ::testing::Values(&MakeQt),
                         [](const auto&) { return std::string("QtWidgets"); });

} // namespace
} // namespace adultify
