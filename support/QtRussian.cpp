#include "support/QtRussian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtRussian(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
