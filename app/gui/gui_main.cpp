#include "app/gui/gui_front_end.h"

#include <QApplication>
#include <QFont>

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
    QFont font = QApplication::font();
    font.setPixelSize(11); // the windows are laid out for an 8-point dialog font
    QApplication::setFont(font);
    adultify::Editor editor(env);
    if (!editor.Load()) return editor.ui().ExitCode();
    return editor.Run();
}
