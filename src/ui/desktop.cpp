#include "desktop.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace velkaro {

bool installQtTranslations(const QLocale& locale) {
    const QStringList languages = locale.uiLanguages();
    if (languages.isEmpty() || QLocale(languages.front()).language() != QLocale::German) {
        return false;
    }
    static QTranslator* installed = nullptr;
    if (installed != nullptr) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

QIcon programIcon() {
    // The sizes the build renders for the window; the desktop scales from the
    // nearest. Files are only read when the window hands the icon over.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/velkaro-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace velkaro
