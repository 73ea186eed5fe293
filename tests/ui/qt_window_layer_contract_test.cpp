// The window layer's contract, run against the Qt implementation: a user's presses reach the
// real message boxes and dialogs through the event loop.
#include "tests/ui/window_layer_contract.h"

#include "ui/qt/qt_widgets.h"
#include "ui/qt/qt_window_system.h"

#include <QAbstractButton>
#include <QApplication>
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

  private:
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
};

std::unique_ptr<WindowLayerDriver> MakeQt() {
    return std::make_unique<QtDriver>();
}

INSTANTIATE_TEST_SUITE_P(Qt, WindowLayerContract, ::testing::Values(&MakeQt),
                         [](const auto&) { return std::string("QtWidgets"); });

} // namespace
} // namespace adultify
