#include "Unit1.h"
#include "Unit2.h"
#include "fonts.h"
#include "shutdownnotice.h"
#include "termination.h"
#include "translations.h"

#include <QApplication>
#include <QSessionManager>

#include <csignal>

int main(int argc, char *argv[])
{
    // A file size limit must turn into a failed write that start-up reports,
    // not into a signal that kills the reader.
    std::signal(SIGXFSZ, SIG_IGN);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    QApplication application(argc, argv);
    // The program ends only through its termination request, never because
    // some window (a message box during start-up, say) happened to be the last.
    application.setQuitOnLastWindowClosed(false);
    shell::installQtTranslations(application);
    ui::registerLayoutFonts();

    shell::Termination termination;
    QObject::connect(&termination, &shell::Termination::requested, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);

    TForm1 Form1;
    TForm2 Form2(Form1);
    Form1.setDetailWindow(&Form2);

    // Log-off and shutdown end the program at once: no question, no release
    // sequence; the connection closes as the windows are destroyed.
    const auto endAtOnce = [&] {
        Form1.endSession();
        termination.request();
    };
    shell::ShutdownNotice shutdownNotice;
    QObject::connect(&shutdownNotice, &shell::ShutdownNotice::arrived, endAtOnce);
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&application, &QGuiApplication::commitDataRequest, endAtOnce);
#endif

    Form1.show();
    return application.exec();
}
