// The editor's windows under Qt's offscreen platform: what a user clicks, read back from the
// widgets themselves.
#include "app/editor.h"

#include "app/gui/display_check.h"

#include "app/form1_events.h"
#include "sample/game_folder.h"
#include "tests/support/environment.h"
#include "tests/support/sample_game.h"
#include "ui/qt/qt_window_system.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <sstream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace adultify {
namespace {

namespace fs = std::filesystem;

void Press(QWidget* modal, const QString& buttonText) {
    for (auto* button : modal->findChildren<QAbstractButton*>())
        if (button->text().remove(u'&') == buttonText) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "no button " << buttonText.toStdString() << " on "
                  << modal->windowTitle().toStdString();
}

// One notch of the mouse wheel over the widget; negative turns down (the next entry).
void Wheel(QWidget* w, int notches) {
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent turn(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &turn);
}

QStringList Lines(QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QList<int> SelectedRows(QListWidget* list) {
    QList<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows << list->row(item);
    return rows;
}

// A key pressed where the window's focus is, as the keyboard sends it.
void Key(QWidget* window, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus ? focus : window, key);
    }
}

QString Focused(QWidget* window) {
    return window->focusWidget() ? window->focusWidget()->objectName() : QString();
}

QString Text(QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->windowTitle() + ": " + box->text() : modal->windowTitle();
}

using QtEditor = EditorOn<qt::QtWindowSystem>;

class EditorTest : public ::testing::Test {
  protected:
    // Acts on the next modal window once it is open and active, from inside its own event
    // loop: a window shown but not yet active takes no underlined letter, and a loaded machine
    // can tell the two apart. The timer ends with the test, so a window that never came cannot
    // reach a later test.
    void WhenModal(std::function<void(QWidget*)> act) {
        auto timer = std::make_shared<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [t = timer.get(), act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || !modal->isActiveWindow()) return;
            t->stop();
            act(modal);
        });
        timer->start(10);
        timers.push_back(timer);
    }
    void TearDown() override { timers.clear(); }
    std::vector<std::shared_ptr<QTimer>> timers;

    // Neighbourhood 1 holds Bob (an adult) and Jo (a child); with `moreHoods`, 3 holds Ann and
    // 5 holds Cy.
    void SetUpGame(bool moreHoods = false) {
        game = sample::WriteWinePrefix(prefix.path(), "C:\\Program Files (x86)\\Maxis\\The Sims");
        sample::GameSpec gameSpec = test::TwoHoods();
        if (moreHoods) {
            sample::HoodSpec five =
                test::SmallHood({test::Sim("user00009", "Cy", 40, 0xb1b2b3b4)}, {"Third"});
            five.number = 5;
            gameSpec.hoods.push_back(five);
        } else {
            gameSpec.hoods.pop_back();
        }
        sample::WriteGameFolder(game, gameSpec);
        env["WINEPREFIX"] = prefix.str();
        env["HOME"] = prefix.str();
        editor = std::make_unique<QtEditor>(test::LookupIn(env), &clock);
    }
    template <typename T> T* W(const char* name) {
        auto* w = qobject_cast<T*>(editor->ui().Widget(*ControlId::Find(name)));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void ClickLine(int line) {
        auto* list = W<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(line)).center());
    }
    void LoadAndShow() {
        ASSERT_TRUE(editor->Load());
        editor->ui().ShowForm("Form1");
    }
    // Every status line of a command then lets events run, so that events posted before a
    // command arrive while it runs.
    void YieldAtEveryStatusLine() {
        editor->ui().SetDoEventsInterval(std::chrono::milliseconds(0));
    }
    // `act` runs at the next turn of the event loop: inside the command started next.
    void DuringTheNextCommand(std::function<void()> act) {
        QTimer::singleShot(0, [this, act] {
            ranDuringACommand = editor->m().editing.commandRunning;
            act();
        });
    }
    // The main window made the active one, as the window a user works in.
    QWidget* Activate() {
        QWidget* main = editor->ui().Window("Form1");
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main));
        return main;
    }
    void FocusTheDropDown() {
        Activate();
        W<QComboBox>("Combo1")->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(W<QComboBox>("Combo1")->hasFocus());
    }
    bool ranDuringACommand = false;

    test::TempDir prefix;
    fs::path game;
    test::Environment env;
    std::unique_ptr<QtEditor> editor;
    ManualClock clock{30000};
};

TEST_F(EditorTest, AChildGrowsUpThroughTheButtonAndNoOtherCommandRunsMeanwhile) {
    SetUpGame();
    LoadAndShow();
    QWidget* main = Activate();
    ClickLine(1);
    W<QPushButton>("Command1")->setFocus(Qt::TabFocusReason); // as Tab would
    QStringList sawDuringTheMessage;
    QString message;
    bool heldBack = false;
    WhenModal([&](QWidget* modal) {
        message = Text(modal);
        heldBack = !editor->ui().eventSink("menu_Save", UiEvent::Click) &&
                   !editor->ui().eventSink("List1", UiEvent::Click);
        // Behind the message the grown-up is already shown, selected.
        sawDuringTheMessage << W<QGroupBox>("Frame2")->title() << W<QLabel>("Label18")->text();
        Press(modal, "OK");
    });
    Key(main, Qt::Key_Space); // the focused button
    // The files and the log: AdultifyTest; the focus handed on: the window-layer contract.
    EXPECT_EQ(message, "Completed: Sucess. Your child has grown up.");
    EXPECT_TRUE(heldBack) << "the main window's events wait while a command runs";
    EXPECT_EQ(sawDuringTheMessage, (QStringList{"Personal Infomation for Jo Newbie", "0"}));
    EXPECT_EQ(Focused(main), "List1") << "not the button that went grey";
    Key(main, Qt::Key_Up); // the arrows work at once
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation for Bob Newbie");
}

TEST_F(EditorTest, TheWheelChangesTheDropDownOnlyWithFocusAndNeverDuringARead) {
    SetUpGame(true);
    LoadAndShow();
    YieldAtEveryStatusLine();
    auto* combo = W<QComboBox>("Combo1");
    ClickLine(0);
    ASSERT_FALSE(combo->hasFocus());
    Wheel(combo, -1);
    EXPECT_EQ(combo->currentText(), "Neighbourhood 1") << "no focus: the wheel is not a pick";
    EXPECT_EQ(SelectedRows(W<QListWidget>("List1")), QList<int>{0});

    FocusTheDropDown();
    DuringTheNextCommand([&] { Wheel(combo, -1); }); // a second notch while 3 is read
    Wheel(combo, -1);
    EXPECT_TRUE(ranDuringACommand);
    EXPECT_EQ(combo->currentText(), "Neighbourhood 3");
    EXPECT_EQ(editor->ui().Caption("Combo1"), "Neighbourhood 3");
    EXPECT_EQ(Lines(W<QListWidget>("List1")), QStringList{"Ann Other"});
}

TEST_F(EditorTest, AWheelTurnDuringACommandLeavesItsWritesInItsNeighbourhood) {
    SetUpGame(true);
    LoadAndShow();
    ClickLine(1); // Jo, the child
    FocusTheDropDown();
    YieldAtEveryStatusLine();
    auto* combo = W<QComboBox>("Combo1");
    DuringTheNextCommand([&] { Wheel(combo, -1); });
    WhenModal([](QWidget* done) { Press(done, "OK"); });
    W<QPushButton>("Command1")->click(); // as Alt+A, the focus stays on the drop-down
    EXPECT_TRUE(ranDuringACommand);
    EXPECT_EQ(combo->currentText(), "Neighbourhood 1");
    EXPECT_TRUE(fs::exists(game / "UserData" / "Neighborhood.000"));
    EXPECT_FALSE(fs::exists(game / "UserData3" / "Neighborhood.000"));
    EXPECT_EQ(Lines(W<QListWidget>("List1")), (QStringList{"Bob Newbie", "Jo Newbie"}));
}

// A pick held back while a command runs: the window-layer contract.
TEST_F(EditorTest, CtrlClickCannotEmptyTheResidentList) {
    SetUpGame();
    LoadAndShow();
    auto* list = W<QListWidget>("List1");
    ClickLine(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(SelectedRows(list), QList<int>{1}) << "Ctrl+click cannot empty the list";
    EXPECT_EQ(Lines(W<QListWidget>("List2")).value(0), "Filename:user00004") << "still shown";
}

// The underlined letters of the skill dialog: Alt+C is Cancel Change, Alt+A Accept Change.
// The keys of the dialog and of the main window: the window-layer contract.
TEST_F(EditorTest, TheSkillDialogsUnderlinedLettersPressItsButtons) {
    SetUpGame();
    LoadAndShow();
    QWidget* main = Activate();
    ClickLine(0);
    W<QLabel>("Label19")->setFocus(Qt::TabFocusReason); // Bob's mechanical skill, as Tab would
    for (Qt::Key letter : {Qt::Key_C, Qt::Key_A}) {
        WhenModal([letter](QWidget* dialog) {
            Key(dialog, Qt::Key_Right, 7);
            QTest::keyClick(dialog->focusWidget(), letter, Qt::AltModifier);
        });
        Key(main, Qt::Key_Space);
    }
    EXPECT_EQ(W<QLabel>("Label19")->text(), "7");
    EXPECT_EQ(editor->m().editing.UnsavedData, kTrue);
}

// The first editor holds the game while it is open, so a second one knows at once that it can
// only look; it takes the game at its user's next click once the first has closed.
TEST_F(EditorTest, ASecondEditorOnTheSameGameIsReadOnlyUntilTheFirstCloses) {
    SetUpGame();
    LoadAndShow();
    QtEditor second(test::LookupIn(env), &clock);
    QString told;
    WhenModal([&](QWidget* box) {
        told = Text(box);
        Press(box, "OK");
    });
    ASSERT_TRUE(second.Load());
    second.ui().ShowForm("Form1");
    EXPECT_EQ(told, "Read Only: Another Adultify is editing this game. You can look at it, but "
                    "nothing can be saved until that one is closed.");
    QWidget* window = second.ui().Window("Form1");
    EXPECT_EQ(window->windowHandle()->title(), "Adultify (read-only)");
    auto* list = qobject_cast<QListWidget*>(second.ui().Widget("List1"));
    auto* button = qobject_cast<QPushButton*>(second.ui().Widget("Command1"));
    auto click = [&](int line) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(line)).center());
    };
    click(1);
    EXPECT_EQ(second.ui().Caption("Frame2"), "Personal Infomation for Jo Newbie") << "it can look";
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(second.ui().Action("menu_Save")->isEnabled());

    editor.reset(); // the first editor closes
    click(0);
    EXPECT_EQ(window->windowHandle()->title(), "Adultify");
    click(1);
    EXPECT_TRUE(button->isEnabled());
}

// Qt aborts when no platform can connect: the editor looks first and says why in words.
TEST(NoDisplay, IsSaidPlainlyAndAWorkingPlatformIsChosen) {
    struct Case {
        std::string env; // NAME=VALUE, separated by blanks
        bool xAnswers, waylandListens, waylandPlugin;
        std::string platform, reasonHas; // reasonHas empty: a window can open
    };
    const std::string runtime = "/run/user/1000";
    const std::string wayland = "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=" + runtime;
    // A Wayland session without the plugin still has XWayland.
    const std::string session = "DISPLAY=:0 XDG_SESSION_TYPE=wayland " + wayland;
    const Case cases[] = {
        {"", true, true, true, "", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"DISPLAY=:0", true, false, false, "xcb", ""},
        {"DISPLAY=:99", false, false, false, "", "no X server answers at DISPLAY=:99"},
        {wayland, false, true, false, "", "qt6-wayland"},
        {wayland, false, true, true, "wayland", ""},
        {wayland, false, false, true, "",
         "no Wayland compositor listens at WAYLAND_DISPLAY=wayland-0"},
        {session, true, true, false, "xcb", ""},
        {session, true, true, true, "wayland", ""},
        {"QT_QPA_PLATFORM=offscreen", false, false, false, "", ""},
        {"QT_QPA_PLATFORM=xcb DISPLAY=:99", false, true, true, "", "DISPLAY=:99"},
        {"QT_QPA_PLATFORM=wayland;xcb DISPLAY=:0", true, false, false, "", ""},
    };
    for (const Case& c : cases) {
        test::Environment variables;
        std::istringstream words(c.env);
        for (std::string word; words >> word;)
            variables[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
        const EnvironmentLookup env = test::LookupIn(variables);
        std::vector<std::filesystem::path> socketsTried;
        DisplayProbes probes;
        probes.x11 = [&c](const std::string&) { return c.xAnswers; };
        probes.wayland = [&](const std::filesystem::path& socket) {
            socketsTried.push_back(socket);
            return c.waylandListens;
        };
        probes.waylandPlugin = [&c] { return c.waylandPlugin; };
        const DisplayChoice choice = ChooseDisplay(env, probes);
        const std::string seen = c.platform + " / " + c.reasonHas;
        EXPECT_EQ(choice.platform, c.platform) << seen;
        if (c.reasonHas.empty()) {
            EXPECT_EQ(choice.reason, "") << seen;
        } else {
            EXPECT_NE(choice.reason.find(c.reasonHas), std::string::npos) << choice.reason;
            EXPECT_NE(choice.reason.find("adultify-cli"), std::string::npos) << choice.reason;
        }
        for (const auto& socket : socketsTried)
            EXPECT_EQ(socket, std::filesystem::path(runtime) / "wayland-0");
    }
}

} // namespace
} // namespace adultify
