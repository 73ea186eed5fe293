#include "app/editor.h"
#include "app/editor_command_line.h"
#include "app/gui/display_check.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_window_system.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    // A session manager restoring the desktop starts the editor with Qt's "-session ID".
    static constexpr std::string_view kQtOptions[] = {"-session"};
    if (const auto code = adultify::EditorCommandLine(
            std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, kQtOptions))
        return *code;
    const auto env = [](const char* name) { return std::getenv(name); };
    const adultify::DisplayChoice display =
        adultify::ChooseDisplay(env, adultify::SystemDisplayProbes());
    if (!display.reason.empty()) {
        std::cerr << "adultify: " << display.reason << "\n";
        return 1;
    }
    if (!display.platform.empty()) qputenv("QT_QPA_PLATFORM", display.platform.c_str());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Adultify"));
    adultify::qt::UseDialogFont();
    adultify::EditorOn<adultify::qt::QtWindowSystem> editor(env);
    if (!editor.Load()) return editor.ui().ExitCode();
    return editor.Run();
}
