#pragma once

#include "look/fonts.h"

#include <QApplication>

// The application prepared as the reader's own main prepares it: the layout
// fonts, and no quitting when some last window closes.
class ReaderApplication final : public QApplication {
public:
    ReaderApplication(int &argc, char **argv) : QApplication(argc, argv)
    {
        setQuitOnLastWindowClosed(false);
        ui::registerLayoutFonts();
    }
};
