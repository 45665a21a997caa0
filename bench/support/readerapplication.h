#pragma once

#include "platform/heap.h"
#include "look/fonts.h"

#include <QApplication>

// The application prepared as the reader's own main prepares it: the heap,
// the layout fonts, and no quitting when some last window closes.
class ReaderApplication final : public QApplication {
public:
    // The heap is set before QApplication makes its first blocks.
    ReaderApplication(int &argc, char **argv) : QApplication((platform::keepFreedBlocksInHeap(), argc), argv)
    {
        setQuitOnLastWindowClosed(false);
        ui::registerLayoutFonts();
    }
};
