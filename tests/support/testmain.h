#pragma once

#include "look/fonts.h"
#include "translations.h"

#include <QApplication>
#include <QTest>

// A test main that prepares the application as the reader's own main does:
// the layout fonts, Qt's translations, and no quitting with the last window.
#define VARGORIN_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        application.setQuitOnLastWindowClosed(false);                                              \
        shell::installQtTranslations(application);                                                 \
        ui::registerLayoutFonts();                                                                 \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
