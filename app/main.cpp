#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "look/fonts.h"
#include "platform/heap.h"
#include "platform/launch.h"
#include "platform/regionalsettings.h"
#include "shutdownnotice.h"
#include "termination.h"
#include "translations.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

// The reader takes no arguments: Qt gets the program's name alone, so options
// Qt would otherwise read from the command line (-style, -stylesheet,
// -reverse, -qwindowtitle ...) change nothing. Settings from the environment
// (the display, the platform plugin, scaling) still reach Qt.
int main(int, char *argv[])
{
    platform::keepFreedBlocksInHeap();
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    static char fallbackName[] = "vargorin"; // started with no name at all
    char *programNameOnly[] = {argv[0] ? argv[0] : fallbackName, nullptr};
    int argumentCount = 1;
    QApplication application(argumentCount, programNameOnly);
    // The program ends only through its termination request, never because
    // some window (a message box during start-up, say) happened to be the last.
    application.setQuitOnLastWindowClosed(false);
    // Lets the desktop (Wayland above all) match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(VARGORIN_APP_ID));
    shell::installQtTranslations(application);
    platform::announceRegionalSettingsChanges();
    ui::registerLayoutFonts();

    shell::Termination termination;
    // Qt's line edit and text box lay out their empty text in the application
    // font before they take their own, and nothing else in the windows uses
    // that font: while the windows are built it is the layouts' own, already
    // loaded, instead of a second family with its fallback list to look up.
    // The desktop's font is back before anything is shown.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(ui::layoutFont());
    TForm1 Form1;
    TForm2 Form2(Form1.DataSource1, &Form1);
    QApplication::setFont(desktopFont);
    Form1.setDetailWindow(&Form2);

    // Log-off and shutdown end the program at once, whatever is open: no
    // question, no release sequence; the connection closes as the windows
    // are destroyed and the working copy stays.
    shell::ShutdownNotice shutdownNotice(termination);

    // Shown in the state the program was started in (a shortcut may ask for
    // it minimised); the show runs the start-up sequence first.
    const int status = termination.runLoop([&] {
        Form1.setWindowState(platform::launchShowState());
        Form1.show();
    });
    // A failed start-up has nothing to release: the working copy stays as it
    // is, and the system drops its lock with the process. Qt 6.4's Wayland
    // plugin can hang in the application's teardown on this road (its event
    // thread never returns), so the reader ends here, with the status its box
    // announced.
    if (status == shell::Termination::startUpFailed) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
