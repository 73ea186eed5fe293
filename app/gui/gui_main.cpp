#include "app/gui/gui_front_end.h"
#include "ui/qt/dialog_font.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    const auto env = [](const char* name) { return std::getenv(name); };
    if (const std::string reason = adultify::NoDisplayReason(env); !reason.empty()) {
        std::cerr << "adultify: " << reason << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Adultify"));
    adultify::qt::UseDialogFont();
    adultify::Editor editor(env);
    if (!editor.Load()) return editor.ui().ExitCode();
    return editor.Run();
}
