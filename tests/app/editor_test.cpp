// The editor's windows under Qt's offscreen platform: what a user clicks, read back from the
// widgets themselves.
#include "app/gui/gui_front_end.h"

#include "app/form1_events.h"
#include "sample/game_folder.h"
#include "tests/support/sample_game.h"

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
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

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

QString Text(QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->windowTitle() + ": " + box->text() : modal->windowTitle();
}

class EditorTest : public ::testing::Test {
  protected:
    // Acts on the next modal window once it is open, from inside its own event loop. The
    // timer ends with the test, so a window that never came cannot reach a later test.
    void WhenModal(std::function<void(QWidget*)> act) {
        auto timer = std::make_shared<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, t = timer.get(), act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            t->stop();
            act(modal);
        });
        timer->start(10);
        timers.push_back(timer);
    }
    void TearDown() override { timers.clear(); }
    std::vector<std::shared_ptr<QTimer>> timers;

    void SetUpGame(bool withRegistry = true) {
        game = sample::WriteWinePrefix(prefix.path(), "C:\\Program Files (x86)\\Maxis\\The Sims");
        if (!withRegistry) fs::remove(prefix.path() / "system.reg");
        sample::GameSpec gameSpec;
        sample::SimSpec adult = test::Sim("user00001", "Bob", 27, 0x81828384);
        adult.skills = {537, 0, 0, 0, 0, 0};
        sample::SimSpec child = test::Sim("user00004", "Jo", 9, 0x91929394);
        gameSpec.hoods.push_back(test::SmallHood({adult, child}, {"Newbie", "Newbie"}));
        sample::WriteGameFolder(game, gameSpec);
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

    test::TempDir prefix;
    fs::path game;
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
    ClickLine(1);
    QString message;
    bool heldBack = false;
    WhenModal([&](QWidget* modal) {
        message = Text(modal);
        heldBack = !editor->ui().eventSink("menu_Save", UiEvent::Click) &&
                   !editor->ui().eventSink("List1", UiEvent::Click);
        Press(modal, "OK");
    });
    QTest::mouseClick(W<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(message, "Completed: Sucess. Your child has grown up.");
    EXPECT_TRUE(heldBack) << "the main window's events wait while a command runs";
    EXPECT_TRUE(fs::exists(game / "UserData" / "Neighborhood.000"));
    EXPECT_EQ(W<QListWidget>("List2")->item(W<QListWidget>("List2")->count() - 1)->text(),
              "Adultify is Finished");
    EXPECT_FALSE(W<QPushButton>("Command1")->isEnabled());
    ClickLine(1);
    EXPECT_EQ(W<QListWidget>("List2")->item(2)->text(), "Career: Unemployed");
    EXPECT_EQ(W<QListWidget>("List2")->item(4)->text(), "Age: Adult");
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
    EXPECT_EQ(first->text().toStdString(), "&1 registry: " + game.string());
    EXPECT_FALSE(editor->ui().Action("menu_game(2)")->isVisible()) << "one game, one entry";
    first->trigger(); // the same game read again
    EXPECT_TRUE(first->isChecked());
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

TEST(NoDisplay, IsSaidPlainly) {
    auto none = [](const char*) -> const char* { return nullptr; };
    EXPECT_NE(NoDisplayReason(none).find("No display"), std::string::npos);
    auto x11 = [](const char* name) -> const char* {
        return std::string(name) == "DISPLAY" ? ":0" : nullptr;
    };
    EXPECT_EQ(NoDisplayReason(x11), "");
}

} // namespace
} // namespace adultify
