#include "ui/qt/dialog_font.h"

#include <QApplication>
#include <QFont>

namespace adultify::qt {

void UseDialogFont() {
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
}

} // namespace adultify::qt
