// The editor's windows under Qt's offscreen platform: what a user clicks, read back from the
// widgets themselves.
#include "app/gui/gui_front_end.h"

#include "app/gui/display_check.h"

#include "app/form1_events.h"
#include "sample/game_folder.h"
#include "sample/home_folder.h"
#include "tests/support/sample_game.h"
#include "ui/qt/qt_widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace adultify {
namespace {

constexpr const char* kHoldsNoGame =
    "It holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... with a "
    "Neighborhood.iff).";

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

// The pointer moved there as the platform moves it: through the window.
void MoveOver(QWidget* window, QWidget* over, QPoint at = {}) {
    QTest::mouseMove(window->windowHandle(),
                     over ? over->mapTo(window, over->rect().center()) : at);
    QApplication::processEvents();
}

// The pointer the program set for the whole application; the default when none.
Qt::CursorShape Pointer() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

QString Text(QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->windowTitle() + ": " + box->text() : modal->windowTitle();
}

class EditorTest : public ::testing::Test {
  protected:
    // Acts on the next modal window once it is open, from inside its own event loop. The
    // timer ends with the test, so a window that never came cannot reach a later test.
    void WhenModal(std::function<void(QWidget*)> act, bool messageBoxOnly = false) {
        auto timer = std::make_shared<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(),
                         [this, t = timer.get(), act, messageBoxOnly] {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (!modal || !modal->isVisible()) return;
                             if (messageBoxOnly && !qobject_cast<QMessageBox*>(modal)) return;
                             t->stop();
                             act(modal);
                         });
        timer->start(10);
        timers.push_back(timer);
    }
    // The same for the next message box, passing over a window that is open meanwhile.
    void WhenMessage(std::function<void(QWidget*)> act) { WhenModal(std::move(act), true); }
    void TearDown() override { timers.clear(); }
    std::vector<std::shared_ptr<QTimer>> timers;

    // Neighbourhood 1 holds Bob (an adult) and Jo (a child); with `moreHoods`, 3 holds Ann and
    // 5 holds Cy.
    void SetUpGame(bool withRegistry = true, bool moreHoods = false) {
        game = sample::WriteWinePrefix(prefix.path(), "C:\\Program Files (x86)\\Maxis\\The Sims");
        if (!withRegistry) fs::remove(prefix.path() / "system.reg");
        sample::GameSpec gameSpec;
        sample::SimSpec adult = test::Sim("user00001", "Bob", 27, 0x81828384);
        adult.skills = {537, 0, 0, 0, 0, 0};
        sample::SimSpec child = test::Sim("user00004", "Jo", 9, 0x91929394);
        gameSpec.hoods.push_back(test::SmallHood({adult, child}, {"Newbie", "Newbie"}));
        if (moreHoods) {
            sample::HoodSpec three =
                test::SmallHood({test::Sim("user00007", "Ann", 30, 0xa1a2a3a4)}, {"Other"});
            three.number = 3;
            sample::HoodSpec five =
                test::SmallHood({test::Sim("user00009", "Cy", 40, 0xb1b2b3b4)}, {"Third"});
            five.number = 5;
            gameSpec.hoods.push_back(three);
            gameSpec.hoods.push_back(five);
        }
        sample::WriteGameFolder(game, gameSpec);
        if (withReRelease)
            reRelease = sample::WriteReReleaseSaves(
                prefix.path(), "steamuser",
                sample::OneFamilyHoods({1, 2}, {"Legacy", "Ada", "Max"}, 1252, false));
        env["WINEPREFIX"] = prefix.str();
        env["HOME"] = prefix.str();
        editor = std::make_unique<Editor>(
            [this](const char* name) -> const char* {
                auto it = env.find(name);
                return it == env.end() ? nullptr : it->second.c_str();
            },
            &clock);
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
            ranDuringACommand = editor->m().commandRunning;
            act();
        });
    }
    void FocusTheDropDown() {
        QWidget* window = editor->ui().Window("Form1");
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        W<QComboBox>("Combo1")->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(W<QComboBox>("Combo1")->hasFocus());
    }
    // Bob's cooking becomes 329 through the skill dialog: an unsaved edit.
    void EditBobsCooking() {
        ClickLine(0);
        WhenModal([](QWidget* dialog) {
            dialog->findChild<QScrollBar*>("Form3.HScroll1")->setValue(329);
            Press(dialog, "Accept Change");
        });
        QTest::mouseClick(W<QLabel>("Label18"), Qt::LeftButton);
        ASSERT_EQ(W<QLabel>("Label18")->text(), "329");
        ASSERT_EQ(editor->m().UnsavedData, kTrue);
    }
    const QImage& Picture1() {
        return dynamic_cast<qt::PictureBox&>(*editor->ui().Widget("Picture1")).Image();
    }
    bool ranDuringACommand = false;

    test::TempDir prefix;
    fs::path game;
    // The re-release's saves in the same prefix: the second game found.
    bool withReRelease = false;
    fs::path reRelease;
    std::map<std::string, std::string> env;
    std::unique_ptr<Editor> editor;
    ManualClock clock{30000};
};

TEST_F(EditorTest, StartUpShowsTheFirstNeighbourhoodsResidents) {
    SetUpGame();
    ASSERT_TRUE(editor->Load());
    EXPECT_FALSE(editor->ui().Window("Form1")->isVisible()) << "shown only after start-up";
    EXPECT_FALSE(editor->ui().IsLoaded("frmSplash")) << "the splash closes at the end";
    EXPECT_GT(clock.TimeOfDay(), 30000 + 4) << "four waits of a second";
    editor->ui().ShowForm("Form1");
    EXPECT_EQ(W<QComboBox>("Combo1")->currentText(), "Neighbourhood 1");
    ASSERT_EQ(W<QListWidget>("List1")->count(), 2);
    EXPECT_EQ(W<QListWidget>("List1")->item(1)->text(), "Jo Newbie");
    EXPECT_TRUE(W<QListWidget>("List1")->selectedItems().isEmpty());
    EXPECT_EQ(W<QLabel>("Label7")->text(), "");
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(W<QLabel>("Label3")->text(), "Idle");
    EXPECT_FALSE(editor->ui().Action("menu_Save")->isEnabled());
    EXPECT_FALSE(editor->ui().Action("menu_fix_thumbnails")->isEnabled());
    EXPECT_TRUE(editor->ui().Action("menu_personality")->isChecked());
    EXPECT_EQ(editor->ui().WindowIcon(), 1);
    EXPECT_EQ(W<QPushButton>("Command1")->text(), "&Adultify") << "Alt+A presses it";
}

// A UK, German, French and Japanese player's game, each in its own prefix and code page: every
// name as the game wrote it, in the list and in the caption of the resident shown.
TEST_F(EditorTest, ListsEveryNameOfALocalisedGame) {
    for (const char* language : {"uk", "de", "fr", "ja"}) {
        SCOPED_TRACE(language);
        const sample::HoodSpec hood = sample::LocalisedHood(language);
        test::TempDir home;
        const fs::path folder =
            sample::WritePrefix(home.path(), {.simsData = "C:\\Program Files\\Maxis\\The Sims",
                                              .codePage = hood.codePage});
        sample::WriteGameFolder(folder, sample::GameSpec{{hood}});
        env["WINEPREFIX"] = home.str();
        env["HOME"] = home.str();
        editor = std::make_unique<Editor>(
            [this](const char* name) -> const char* {
                auto it = env.find(name);
                return it == env.end() ? nullptr : it->second.c_str();
            },
            &clock);
        LoadAndShow();
        auto* list = W<QListWidget>("List1");
        ASSERT_EQ(list->count(), static_cast<int>(hood.sims.size()));
        for (int k = 0; k < list->count(); ++k) {
            const sample::SimSpec& sim = hood.sims[static_cast<std::size_t>(k)];
            EXPECT_EQ(list->item(k)->text().toStdString(),
                      sim.firstName + " " +
                          hood.families[static_cast<std::size_t>(sim.familyChunkId - 1)].name);
        }
        ClickLine(1);
        EXPECT_EQ(W<QGroupBox>("Frame2")->title().toStdString(),
                  "Personal Infomation for " + list->item(1)->text().toStdString());
        editor.reset();
    }
}

TEST_F(EditorTest, AClickedResidentIsShown) {
    SetUpGame();
    LoadAndShow();
    ClickLine(0);
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation for Bob Newbie");
    EXPECT_EQ(W<QLabel>("Label18")->text(), "537");
    EXPECT_EQ(W<QListWidget>("List2")->item(0)->text(), "Filename:user00001");
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(W<QLabel>("Label18")->isEnabled());
    EXPECT_TRUE(editor->ui().Action("menu_fix_thumbnails")->isEnabled());
    ClickLine(1);
    EXPECT_TRUE(W<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(W<QLabel>("Label18")->isEnabled());
}

TEST_F(EditorTest, AChildGrowsUpThroughTheButtonAndNoOtherCommandRunsMeanwhile) {
    SetUpGame();
    LoadAndShow();
    QWidget* main = editor->ui().Window("Form1");
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
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
    EXPECT_EQ(message, "Completed: Sucess. Your child has grown up.");
    EXPECT_TRUE(heldBack) << "the main window's events wait while a command runs";
    EXPECT_TRUE(fs::exists(game / "UserData" / "Neighborhood.000"));
    EXPECT_EQ(sawDuringTheMessage, (QStringList{"Personal Infomation for Jo Newbie", "0"}));
    const QStringList log = Lines(W<QListWidget>("List2"));
    EXPECT_TRUE(log.contains("Adultify is Finished"));
    EXPECT_EQ(log.mid(log.size() - 4),
              (QStringList{"Career: Unemployed", "Career Level: 0", "Age: Adult", "      "}));
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(SelectedRows(W<QListWidget>("List1")), QList<int>{1});
    EXPECT_EQ(Focused(main), "List1") << "not the button that went grey";
    Key(main, Qt::Key_Up); // the arrows work at once
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation for Bob Newbie");
}

TEST_F(EditorTest, ASkillChangesThroughTheDialog) {
    SetUpGame();
    LoadAndShow();
    ClickLine(0);
    QString label3, frame;
    WhenModal([&](QWidget* dialog) {
        auto* bar = dialog->findChild<QScrollBar*>("Form3.HScroll1");
        bar->setValue(329); // as a user lets go of the thumb there
        label3 = dialog->findChild<QLabel*>("Form3.Label3")->text();
        frame = dialog->findChild<QGroupBox*>("Form3.Frame1")->title();
        Press(dialog, "Accept Change");
    });
    QTest::mouseClick(W<QLabel>("Label18"), Qt::LeftButton);
    EXPECT_EQ(frame, "Status Change - Cooking");
    EXPECT_EQ(label3, " 3 / 29%");
    EXPECT_EQ(W<QLabel>("Label18")->text(), "329");
    EXPECT_TRUE(editor->ui().Action("menu_Save")->isEnabled());
    EXPECT_EQ(editor->m().UnsavedData, kTrue);
}

TEST_F(EditorTest, ExitAsksAboutUnsavedDataAndSavesOnYes) {
    SetUpGame();
    LoadAndShow();
    editor->m().UnsavedData = kTrue;
    QString asked;
    WhenModal([&](QWidget* modal) {
        asked = Text(modal);
        Press(modal, "Yes");
    });
    editor->ui().Action("menu_exit")->trigger();
    EXPECT_EQ(asked, "Unsaved Data Warning: You have unsaved Data. Would you like to save it now?");
    EXPECT_TRUE(editor->ui().Ended());
    EXPECT_EQ(editor->ui().WindowIcon(), 3);
    EXPECT_TRUE(fs::exists(game / "UserData" / "Neighborhood.000"));
}

TEST_F(EditorTest, TheCloseBoxWithoutUnsavedDataAsksNothing) {
    SetUpGame();
    LoadAndShow();
    bool asked = false;
    WhenModal([&](QWidget* modal) {
        asked = true;
        Press(modal, "No");
    });
    editor->ui().Window("Form1")->close();
    EXPECT_TRUE(editor->ui().Ended());
    EXPECT_FALSE(asked);
    EXPECT_FALSE(fs::exists(game / "UserData" / "Neighborhood.000"));
    QApplication::processEvents(); // let the stray timer go
}

TEST_F(EditorTest, WithoutAGameThePathDialogComesAtStartUpAndOkOnTheGameClosesIt) {
    SetUpGame(false);
    QStringList seen;
    WhenModal([&](QWidget* noSims) {
        seen << Text(noSims);
        Press(noSims, "OK");
        WhenModal([&](QWidget* dialog) {
            seen << dialog->windowTitle();
            // The user has gone down to the folder above the game's and clicks the game's.
            editor->ui().SetCaption("Form2.Dir1", game.parent_path().string());
            auto* dirs = dialog->findChild<QListWidget*>("Form2.Dir1");
            const auto found = dirs->findItems(QStringLiteral("The Sims"), Qt::MatchEndsWith);
            ASSERT_EQ(found.size(), 1);
            dirs->scrollToItem(found[0]);
            QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {},
                              dirs->visualItemRect(found[0]).center());
            Press(dialog, "Ok");
            seen << (dialog->isVisible() ? "still open" : "closed");
        });
    });
    ASSERT_TRUE(editor->Load());
    EXPECT_EQ(
        seen,
        (QStringList{
            "No Sims: The Sims Not Found. Please use the path option to set the path to SIMS.EXE",
            "The Sims Path", "closed"}));
    EXPECT_EQ(editor->m().SimsPath, game.string() + "\\");
    EXPECT_EQ(W<QComboBox>("Combo1")->count(), 1);
    EXPECT_EQ(W<QListWidget>("List1")->count(), 2);
    EXPECT_EQ(test::ReadBytes(prefix.path() / ".config/adultify/remembered"),
              ToBytes(game.string() + "\\\n"))
        << "kept for the next start";
}

TEST_F(EditorTest, TheGamesMenuShowsTheGamesFoundTheOneInUseChecked) {
    SetUpGame();
    LoadAndShow();
    QAction* games = editor->ui().Action("menu_games");
    ASSERT_NE(games->menu(), nullptr) << "a submenu of File";
    EXPECT_TRUE(games->isEnabled());
    QAction* first = editor->ui().Action("menu_game(1)");
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isChecked());
    // The temporary prefix's path is long: shortened in the menu, whole in the tooltip.
    EXPECT_TRUE(first->text().startsWith(
        QString::fromStdString("&1 registry: " + game.string().substr(0, 10))))
        << first->text().toStdString();
    EXPECT_TRUE(first->text().endsWith("/Maxis/The Sims")) << first->text().toStdString();
    EXPECT_EQ(first->toolTip().toStdString(), game.string());
    EXPECT_TRUE(games->menu()->toolTipsVisible());
    EXPECT_FALSE(editor->ui().Action("menu_game(2)")->isVisible()) << "one game, one entry";
    first->trigger(); // the same game read again
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(W<QListWidget>("List1")->count(), 2);
}

TEST_F(EditorTest, SwitchingGamesWithUnsavedEditsAsksAndCancelChangesNothing) {
    withReRelease = true;
    SetUpGame();
    LoadAndShow();
    QAction* second = editor->ui().Action("menu_game(2)");
    ASSERT_TRUE(second->isVisible());
    EditBobsCooking();
    const std::string simsPath = editor->m().SimsPath;
    const Bytes reReleaseHood = test::ReadBytes(reRelease / "UserData" / "Neighborhood.iff");
    QString asked;
    WhenModal([&](QWidget* box) {
        asked = Text(box);
        Press(box, "Cancel");
    });
    second->trigger();
    EXPECT_EQ(asked, "Unsaved Data Warning: You have unsaved Data. Would you like to save it now?");
    EXPECT_EQ(editor->m().SimsPath, simsPath);
    EXPECT_TRUE(editor->ui().Action("menu_game(1)")->isChecked());
    EXPECT_FALSE(second->isChecked());
    EXPECT_EQ(W<QComboBox>("Combo1")->count(), 1);
    EXPECT_EQ(Lines(W<QListWidget>("List1")), (QStringList{"Bob Newbie", "Jo Newbie"}));
    EXPECT_EQ(SelectedRows(W<QListWidget>("List1")), QList<int>{0});
    EXPECT_EQ(W<QLabel>("Label18")->text(), "329");
    EXPECT_TRUE(editor->ui().Action("menu_Save")->isEnabled());

    editor->ui().Action("menu_Save")->trigger();
    EXPECT_TRUE(fs::exists(game / "UserData" / "Neighborhood.000"));
    EXPECT_FALSE(fs::exists(reRelease / "UserData" / "Neighborhood.000"));
    EXPECT_EQ(test::ReadBytes(reRelease / "UserData" / "Neighborhood.iff"), reReleaseHood);

    second->trigger(); // nothing unsaved: nothing asked
    EXPECT_TRUE(second->isChecked());
    EXPECT_EQ(Lines(W<QListWidget>("List1")), (QStringList{"Ada Legacy", "Max Legacy"}));
}

TEST_F(EditorTest, ThePathDialogOpensAtTheGameInUseAndOpensFoldersAsAFolderChooserDoes) {
    SetUpGame();
    LoadAndShow();
    QString drive, opened, afterClick, afterDoubleClick, refused;
    WhenModal([&](QWidget* dialog) {
        drive = dialog->findChild<QComboBox*>("Form2.Drive1")->currentText();
        opened = QString::fromStdString(editor->ui().Caption("Form2.Dir1"));
        auto* dirs = dialog->findChild<QListWidget*>("Form2.Dir1");
        const auto found = dirs->findItems(QStringLiteral("Maxis"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << "each line is the folder's own name";
        const QPoint at = dirs->visualItemRect(found[0]).center();
        QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at);
        afterClick = QString::fromStdString(editor->ui().Caption("Form2.Dir1"));
        QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
        afterDoubleClick = QString::fromStdString(editor->ui().Caption("Form2.Dir1"));
        WhenMessage([&](QWidget* box) {
            refused = Text(box);
            Press(box, "OK");
            QTest::keyClick(dirs, Qt::Key_Down); // The Sims again
            Press(dialog, "Ok");
        });
        Press(dialog, "Ok"); // Maxis, which holds no game
    });
    editor->ui().Action("menu_path")->trigger();
    EXPECT_TRUE(drive.startsWith("c:  ")) << drive.toStdString() << ": the game's";
    EXPECT_TRUE(opened.endsWith("/Maxis/The Sims")) << opened.toStdString();
    EXPECT_EQ(afterClick, opened) << "a click opens nothing";
    EXPECT_TRUE(afterDoubleClick.endsWith("/Maxis")) << afterDoubleClick.toStdString();
    EXPECT_EQ(refused.toStdString(), "Invalid Directory: Cannot find SIMS.EXE.\n" +
                                         afterDoubleClick.toStdString() + "\n" + kHoldsNoGame);
    EXPECT_FALSE(editor->ui().IsLoaded("Form2"));
    EXPECT_EQ(editor->m().SimsPath, opened.toStdString() + "\\");
    EXPECT_EQ(W<QListWidget>("List1")->count(), 2);
}

TEST_F(EditorTest, AboutLeavesTheNormalIconAndOpensNothingByItself) {
    SetUpGame();
    LoadAndShow();
    editor->ui().SetWindowIcon(2);
    int iconWhileOpen = -1;
    QString version;
    WhenModal([&](QWidget* about) {
        iconWhileOpen = editor->ui().WindowIcon();
        version = about->findChild<QLabel*>("frmAbout.lblVersion")->text();
        EXPECT_EQ(about->windowTitle(), "About Adultify");
        Press(about, "I am Impressed!");
    });
    editor->ui().Action("menu_about")->trigger();
    EXPECT_EQ(iconWhileOpen, 4);
    EXPECT_EQ(version, "Version 1.2.8");
    EXPECT_EQ(editor->ui().WindowIcon(), 1);
}

TEST_F(EditorTest, ASnapshotIsRestoredFromTheFileMenuInTwoClicks) {
    SetUpGame();
    LoadAndShow();
    const fs::path hoodFile = game / "UserData" / "Neighborhood.iff";
    const Bytes hoodBefore = test::ReadBytes(hoodFile);
    ClickLine(1);
    WhenModal([](QWidget* completed) { Press(completed, "OK"); });
    QTest::mouseClick(W<QPushButton>("Command1"), Qt::LeftButton);
    ASSERT_NE(test::ReadBytes(hoodFile), hoodBefore);

    QStringList lines;
    bool restoreBefore = true, restoreAfter = false;
    QString question, told;
    WhenModal([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "Snapshots of Neighbourhood 1");
        auto* list = window->findChild<QListWidget*>("frmSnapshots.List1");
        auto* restore = window->findChild<QPushButton*>("frmSnapshots.cmdRestore");
        ASSERT_TRUE(list && restore);
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        ASSERT_EQ(lines.size(), 1);
        restoreBefore = restore->isEnabled();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        restoreAfter = restore->isEnabled();
        WhenMessage([&](QWidget* asked) {
            question = Text(asked);
            WhenMessage([&](QWidget* done) {
                told = Text(done);
                Press(done, "OK");
            });
            Press(asked, "Yes");
        });
        QTest::mouseClick(restore, Qt::LeftButton);
    });
    editor->ui().Action("menu_snapshots")->trigger();

    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(
        QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d  Adultify  Jo Newbie$)")))
        << lines[0].toStdString();
    EXPECT_FALSE(restoreBefore);
    EXPECT_TRUE(restoreAfter);
    EXPECT_TRUE(question.startsWith("Restore Snapshot: Put back the files as they were at " +
                                    lines[0].left(16) + ", before Adultify of Jo Newbie?"))
        << question.toStdString();
    EXPECT_TRUE(told.startsWith("Restore Snapshot: Restored.")) << told.toStdString();
    EXPECT_FALSE(editor->ui().IsLoaded("frmSnapshots"));
    EXPECT_EQ(test::ReadBytes(hoodFile), hoodBefore);
    EXPECT_EQ(W<QListWidget>("List1")->count(), 2);
    ClickLine(1);
    EXPECT_TRUE(W<QPushButton>("Command1")->isEnabled()) << "Jo is a child again";
}

TEST_F(EditorTest, TheWheelChangesTheDropDownOnlyWithFocusAndNeverDuringARead) {
    SetUpGame(true, true);
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
    SetUpGame(true, true);
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

TEST_F(EditorTest, TheResidentListKeepsTheShownResidentSelected) {
    SetUpGame();
    LoadAndShow();
    auto* list = W<QListWidget>("List1");
    ClickLine(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(SelectedRows(list), QList<int>{1}) << "Ctrl+click cannot empty the list";
    EXPECT_EQ(Lines(W<QListWidget>("List2")).value(0), "Filename:user00004") << "still shown";

    YieldAtEveryStatusLine();
    DuringTheNextCommand([&] { ClickLine(1); }); // held back while Bob is shown
    ClickLine(0);
    EXPECT_TRUE(ranDuringACommand);
    EXPECT_EQ(SelectedRows(list), QList<int>{0});
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation for Bob Newbie");

    EditBobsCooking(); // goes to the resident shown and selected
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation for Bob Newbie");
    ClickLine(1);
    EXPECT_EQ(W<QLabel>("Label18")->text(), "0") << "Jo's cooking is untouched";
}

TEST_F(EditorTest, PickingTheChosenNeighbourhoodAgainKeepsItsEdits) {
    SetUpGame(true, true);
    LoadAndShow();
    EditBobsCooking();
    auto* combo = W<QComboBox>("Combo1");
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex first = view->model()->index(0, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(combo->currentText(), "Neighbourhood 1");
    EXPECT_EQ(W<QLabel>("Label18")->text(), "329") << "not read again";
    EXPECT_EQ(SelectedRows(W<QListWidget>("List1")), QList<int>{0});
    EXPECT_EQ(editor->m().UnsavedData, kTrue);
}

TEST_F(EditorTest, PickingAnotherNeighbourhoodWithUnsavedEditsAsksAndEscapeKeepsThem) {
    SetUpGame(true, true);
    LoadAndShow();
    EditBobsCooking();
    FocusTheDropDown();
    QString asked;
    WhenModal([&](QWidget* box) {
        asked = Text(box);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    Wheel(W<QComboBox>("Combo1"), -1);
    EXPECT_EQ(asked, "Unsaved Data Warning: You have unsaved Data. Would you like to save it now?");
    EXPECT_EQ(W<QComboBox>("Combo1")->currentText(), "Neighbourhood 1");
    EXPECT_EQ(Lines(W<QListWidget>("List1")), (QStringList{"Bob Newbie", "Jo Newbie"}));
    EXPECT_EQ(W<QLabel>("Label18")->text(), "329");
    EXPECT_EQ(editor->m().UnsavedData, kTrue);
    EXPECT_TRUE(editor->ui().Action("menu_Save")->isEnabled());
    EXPECT_FALSE(fs::exists(game / "UserData" / "Neighborhood.000"));
}

TEST_F(EditorTest, EscapeOrTheCloseBoxOnTheExitQuestionKeepsTheEditorOpen) {
    SetUpGame();
    LoadAndShow();
    EditBobsCooking();
    WhenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    editor->ui().Action("menu_exit")->trigger();
    EXPECT_FALSE(editor->ui().Ended()) << "Escape";
    WhenModal([](QWidget* box) { box->close(); });
    editor->ui().Window("Form1")->close();
    EXPECT_FALSE(editor->ui().Ended()) << "the question's close box";
    EXPECT_TRUE(editor->ui().Window("Form1")->isVisible());
    EXPECT_EQ(editor->m().UnsavedData, kTrue);
    EXPECT_EQ(W<QLabel>("Label18")->text(), "329");
    EXPECT_FALSE(fs::exists(game / "UserData" / "Neighborhood.000"));
}

TEST_F(EditorTest, AFailedSaveAtExitKeepsTheEditorOpenWithItsEdits) {
    SetUpGame();
    LoadAndShow();
    EditBobsCooking();
    fs::rename(game / "UserData" / "Neighborhood.iff", game / "UserData" / "moved.iff");
    QStringList seen;
    WhenModal([&](QWidget* question) {
        seen << question->windowTitle();
        WhenModal([&](QWidget* report) {
            seen << report->windowTitle();
            Press(report, "OK");
        });
        Press(question, "Yes");
    });
    editor->ui().Action("menu_exit")->trigger();
    EXPECT_EQ(seen, (QStringList{"Unsaved Data Warning", "Nothing Changed"}));
    EXPECT_FALSE(editor->ui().Ended());
    EXPECT_EQ(editor->m().UnsavedData, kTrue);
    EXPECT_TRUE(editor->ui().Action("menu_Save")->isEnabled());
}

TEST_F(EditorTest, ASkillIsChangedTo537WithTheKeyboardAlone) {
    SetUpGame();
    LoadAndShow();
    QWidget* main = editor->ui().Window("Form1");
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    ASSERT_EQ(Focused(main), "Combo1") << "the window opens on its first control";
    Key(main, Qt::Key_Tab);
    Key(main, Qt::Key_Space); // Bob, the first resident, current on entering the list
    ASSERT_EQ(W<QLabel>("Label19")->text(), "0") << "Bob's mechanical skill";
    Key(main, Qt::Key_Tab, 2); // past the disabled Adultify button, Cooking, to Mechanical
    ASSERT_EQ(Focused(main), "Label19");
    QStringList seen;
    WhenModal([&](QWidget* dialog) {
        seen << Focused(dialog);
        Key(dialog, Qt::Key_End);
        Key(dialog, Qt::Key_Home);
        Key(dialog, Qt::Key_PageDown, 6);
        Key(dialog, Qt::Key_PageUp);
        Key(dialog, Qt::Key_Right, 40);
        Key(dialog, Qt::Key_Left, 3);
        seen << dialog->findChild<QLabel*>("Form3.Label2")->text()
             << dialog->findChild<QLabel*>("Form3.Label3")->text();
        Key(dialog, Qt::Key_Return); // the scroll bar passes Enter to Accept Change
    });
    Key(main, Qt::Key_Return);
    EXPECT_EQ(seen, (QStringList{"Form3.HScroll1", "537", " 5 / 37%"}));
    EXPECT_EQ(W<QLabel>("Label19")->text(), "537");
    EXPECT_EQ(editor->m().UnsavedData, kTrue);

    WhenModal([](QWidget* dialog) {
        Key(dialog, Qt::Key_Right, 5);
        Key(dialog, Qt::Key_Escape);
    });
    Key(main, Qt::Key_Space);
    EXPECT_EQ(W<QLabel>("Label19")->text(), "537") << "Escape changes nothing";

    // The underlined letters: Alt+C is Cancel Change, Alt+A Accept Change.
    for (Qt::Key letter : {Qt::Key_C, Qt::Key_A}) {
        WhenModal([letter](QWidget* dialog) {
            Key(dialog, Qt::Key_Left, 7);
            QTest::keyClick(dialog->focusWidget(), letter, Qt::AltModifier);
        });
        Key(main, Qt::Key_Space);
    }
    EXPECT_EQ(W<QLabel>("Label19")->text(), "530");
}

TEST_F(EditorTest, ThePathDialogIsWorkedByTabEnterAndEscape) {
    SetUpGame();
    LoadAndShow();
    QStringList order;
    WhenModal([&](QWidget* dialog) {
        for (int i = 0; i < 4; ++i) {
            order << Focused(dialog);
            Key(dialog, Qt::Key_Tab);
        }
        order << Focused(dialog);
        Key(dialog, Qt::Key_Escape);
    });
    editor->ui().Action("menu_path")->trigger();
    EXPECT_EQ(order, (QStringList{"Form2.Dir1", "Form2.Text1", "Form2.Drive1", "Form2.Command1",
                                  "Form2.Command2"}));
    EXPECT_FALSE(editor->ui().IsLoaded("Form2")) << "Escape cancels";

    bool accepted = false;
    WhenModal([&](QWidget* dialog) {
        // The folder list itself is worked as the user went down to the game's folder.
        editor->ui().SetCaption("Form2.Dir1", game.string());
        Key(dialog, Qt::Key_Tab, 3);
        EXPECT_EQ(Focused(dialog), "Form2.Command1");
        Key(dialog, Qt::Key_Return);
        accepted = !dialog->isVisible();
    });
    editor->ui().Action("menu_path")->trigger();
    EXPECT_TRUE(accepted) << "Enter on Ok takes the folder chosen";
    EXPECT_EQ(editor->m().SimsPath, game.string() + "\\");
    EXPECT_EQ(W<QListWidget>("List1")->count(), 2);
}

TEST_F(EditorTest, EnterAndEscapeOnTheThumbnailWarningChangeNothing) {
    SetUpGame();
    LoadAndShow();
    ClickLine(0);
    const fs::path file = game / "UserData" / "Characters" / "User00001.iff";
    const Bytes before = test::ReadBytes(file);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QStringList seen;
        WhenMessage([&, key](QWidget* warning) {
            seen << warning->windowTitle();
            WhenMessage([&](QWidget* told) {
                seen << Text(told);
                Key(told, Qt::Key_Return);
            });
            Key(warning, key);
        });
        editor->ui().Action("menu_fix_thumbnails")->trigger();
        ASSERT_EQ(seen.size(), 2) << key;
        EXPECT_TRUE(seen[1].endsWith("Thumbnail removal cancelled")) << seen[1].toStdString();
        EXPECT_EQ(test::ReadBytes(file), before) << key;
    }
}

TEST_F(EditorTest, TheUpArrowShowsOverTheAboutLinkUntilTheBackgroundOrLabel10) {
    SetUpGame();
    LoadAndShow();
    std::vector<std::pair<std::string, Qt::CursorShape>> seen;
    WhenModal([&](QWidget* about) {
        auto over = [&](const char* name) {
            QWidget* w = name ? about->findChild<QWidget*>(name) : nullptr;
            QPoint free;
            for (int y = 2; !name && y < about->height() && free.isNull(); y += 2)
                for (int x = 2; x < about->width() && free.isNull(); x += 2)
                    if (!about->childAt(x, y)) free = {x, y};
            MoveOver(about, w, free);
            seen.emplace_back(name ? name : "background", Pointer());
        };
        for (const char* name :
             {"frmAbout.Label11", "frmAbout.Label3", "frmAbout.Picture1", "frmAbout.cmdOK",
              static_cast<const char*>(nullptr), "frmAbout.Label11", "frmAbout.Label10"})
            over(name);
        Press(about, "I am Impressed!");
    });
    editor->ui().Action("menu_about")->trigger();
    using Seen = std::vector<std::pair<std::string, Qt::CursorShape>>;
    EXPECT_EQ(seen, (Seen{{"frmAbout.Label11", Qt::UpArrowCursor},
                          {"frmAbout.Label3", Qt::UpArrowCursor},
                          {"frmAbout.Picture1", Qt::UpArrowCursor},
                          {"frmAbout.cmdOK", Qt::UpArrowCursor},
                          {"background", Qt::ArrowCursor},
                          {"frmAbout.Label11", Qt::UpArrowCursor},
                          {"frmAbout.Label10", Qt::ArrowCursor}}));
}

TEST_F(EditorTest, OnlyARealChangeMarksTheTitleAndASaveSaysWhatItWrote) {
    SetUpGame();
    LoadAndShow();
    QWindow* window = editor->ui().Window("Form1")->windowHandle();
    EXPECT_EQ(window->title(), "Adultify");
    ClickLine(0);
    for (const char* leave : {"Escape", "Cancel Change", "Accept Change"}) {
        WhenModal([leave](QWidget* dialog) {
            if (std::string(leave) == "Escape") {
                Key(dialog, Qt::Key_Right, 3);
                Key(dialog, Qt::Key_Escape);
            } else {
                Press(dialog, leave); // Accept at the value it opened with
            }
        });
        QTest::mouseClick(W<QLabel>("Label12"), Qt::LeftButton);
        EXPECT_EQ(window->title(), "Adultify") << leave;
        EXPECT_FALSE(editor->ui().Action("menu_Save")->isEnabled()) << leave;
    }
    EditBobsCooking();
    EXPECT_EQ(window->title(), "*Adultify");
    editor->ui().Action("menu_Save")->trigger();
    EXPECT_EQ(window->title(), "Adultify") << "saved";
    EXPECT_EQ(W<QLabel>("Label3")->text(),
              "Saved Neighborhood.iff; the old one is Neighborhood.000");
}

TEST_F(EditorTest, AnotherNeighbourhoodPickedLeavesNoResidentOnViewAndNothingToPress) {
    SetUpGame(true, true);
    LoadAndShow();
    ClickLine(1); // Jo, a child
    ASSERT_TRUE(W<QPushButton>("Command1")->isEnabled());
    ASSERT_FALSE(Picture1().isNull());
    FocusTheDropDown();
    Wheel(W<QComboBox>("Combo1"), -1);
    ASSERT_EQ(W<QComboBox>("Combo1")->currentText(), "Neighbourhood 3");
    EXPECT_EQ(W<QGroupBox>("Frame2")->title(), "Personal Infomation");
    EXPECT_TRUE(Lines(W<QListWidget>("List2")).isEmpty());
    EXPECT_EQ(W<QLabel>("Label7")->text(), "");
    EXPECT_TRUE(Picture1().isNull());
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
    bool opened = false;
    WhenModal([&](QWidget* dialog) {
        opened = true;
        Press(dialog, "Cancel Change");
    });
    QTest::mouseClick(W<QLabel>("Label12"), Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_FALSE(opened) << "no skill dialog for nobody";
}

TEST_F(EditorTest, ARefusedAdultifyAsksFirstAndEndsItsLogWithWhyNothingWasSaved) {
    SetUpGame();
    LoadAndShow();
    editor->m().findRunningGame = [] { return std::optional<std::string>("Sims.exe"); };
    ClickLine(1);
    QStringList asked;
    int linesWhenAsked = -1;
    WhenModal([&](QWidget* box) {
        asked << box->windowTitle();
        linesWhenAsked = W<QListWidget>("List2")->count();
        Key(box, Qt::Key_Return); // Enter answers No
    });
    QTest::mouseClick(W<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{"The Sims Is Running"});
    EXPECT_EQ(linesWhenAsked, 0) << "asked before any line claims the work";
    EXPECT_EQ(Lines(W<QListWidget>("List2")),
              QStringList{"Nothing was saved: the game is running."});
    EXPECT_EQ(W<QLabel>("Label3")->text(), "Nothing was saved: the game is running.");
    EXPECT_FALSE(fs::exists(game / "UserData" / "Neighborhood.000"));
}

// Another program grew Jo up behind the editor's back: its view is of a child, its files of
// an adult with no body string "9".
TEST_F(EditorTest, FilesChangedBehindTheEditorsBackAreReadAgainNeverFatal) {
    SetUpGame();
    LoadAndShow();
    ClickLine(1);
    const fs::path hoodFile = game / "UserData" / "Neighborhood.iff";
    Bytes hood = test::ReadBytes(hoodFile);
    hood[static_cast<std::size_t>(FindBytes(hood, "user00004", 1) - 1 + 134)] = 27;
    test::WriteBytes(hoodFile, hood);
    const fs::path characterFile = game / "UserData" / "Characters" / "User00004.iff";
    Bytes character = test::ReadBytes(characterFile);
    const Position nine = FindBytes(character, Bytes{1, '9', 0, 0}, 1);
    ASSERT_GT(nine, 0);
    character[static_cast<std::size_t>(nine)] = '2';
    character[static_cast<std::size_t>(nine) + 1] = '7';
    test::WriteBytes(characterFile, character);
    QStringList seen;
    WhenModal([&](QWidget* box) {
        seen << Text(box);
        Press(box, "OK");
    });
    QTest::mouseClick(W<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(seen, QStringList{"Read Again: The neighbourhood changed on disk since it was read "
                                "(the game, or another program). It has been read again."});
    EXPECT_FALSE(editor->ui().Ended());
    EXPECT_EQ(editor->ui().Window("Form1")->windowHandle()->title(), "Adultify");
    EXPECT_EQ(
        Lines(W<QListWidget>("List2")),
        QStringList{"Nothing was saved: the neighbourhood changed on disk since it was read."});
    EXPECT_EQ(test::ReadBytes(hoodFile), hood) << "the other program's work stays";
    ClickLine(1);
    EXPECT_TRUE(Lines(W<QListWidget>("List2")).contains("Age: Adult"));
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
}

// The first editor holds the game while it is open, so a second one knows at once that it can
// only look; it takes the game at its user's next click once the first has closed.
TEST_F(EditorTest, ASecondEditorOnTheSameGameIsReadOnlyUntilTheFirstCloses) {
    SetUpGame();
    LoadAndShow();
    Editor second(
        [this](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        },
        &clock);
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
        std::map<std::string, std::string> env;
        bool xAnswers, waylandListens, waylandPlugin;
        std::string platform, reasonHas; // reasonHas empty: a window can open
    };
    const std::string runtime = "/run/user/1000";
    const Case cases[] = {
        {{}, true, true, true, "", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {{{"DISPLAY", ":0"}}, true, false, false, "xcb", ""},
        {{{"DISPLAY", ":99"}}, false, false, false, "", "no X server answers at DISPLAY=:99"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", runtime}},
         false,
         true,
         false,
         "",
         "qt6-wayland"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", runtime}},
         false,
         true,
         true,
         "wayland",
         ""},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", runtime}},
         false,
         false,
         true,
         "",
         "no Wayland compositor listens at WAYLAND_DISPLAY=wayland-0"},
        // A Wayland session without the plugin still has XWayland.
        {{{"DISPLAY", ":0"},
          {"WAYLAND_DISPLAY", "wayland-0"},
          {"XDG_RUNTIME_DIR", runtime},
          {"XDG_SESSION_TYPE", "wayland"}},
         true,
         true,
         false,
         "xcb",
         ""},
        {{{"DISPLAY", ":0"},
          {"WAYLAND_DISPLAY", "wayland-0"},
          {"XDG_RUNTIME_DIR", runtime},
          {"XDG_SESSION_TYPE", "wayland"}},
         true,
         true,
         true,
         "wayland",
         ""},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, false, false, false, "", ""},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":99"}}, false, true, true, "", "DISPLAY=:99"},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}, true, false, false, "", ""},
    };
    for (const Case& c : cases) {
        const auto env = [&c](const char* name) -> const char* {
            const auto it = c.env.find(name);
            return it == c.env.end() ? nullptr : it->second.c_str();
        };
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
