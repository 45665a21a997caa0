#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

void installQtTranslations(QCoreApplication &application)
{
    // Carried inside the program where the system has no Qt of its own
    // (Windows); otherwise the system's.
    auto *translator = new QTranslator(&application);
    for (const QString &folder : {QStringLiteral(":/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

} // namespace shell
