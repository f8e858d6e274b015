#include "modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibrary>
#include <QStringList>

namespace velkaro {

QFunctionPointer moduleEntry(const char* name, const char* entry, QString* path, QString* error) {
    struct Loaded {
        QFunctionPointer function = nullptr;
        QString path;
        QString error;
    };
    static QHash<QString, Loaded> modules;
    const QString key = QString::fromLatin1(name) + QLatin1Char(':') + QString::fromLatin1(entry);
    auto it = modules.find(key);
    if (it == modules.end() || it->function == nullptr) {
        Loaded loaded;
        const QString programDir = QCoreApplication::applicationDirPath();
        QStringList tried;
        for (const QString& folder :
             {programDir, QDir(programDir).filePath(QStringLiteral(VELKARO_MODULE_FROM_BIN))}) {
            QLibrary module(QDir(folder).filePath(QString::fromLatin1(name)));
            loaded.function = module.resolve(entry);
            if (loaded.function != nullptr) {
                loaded.path = QDir::cleanPath(module.fileName());
                break;
            }
            tried << module.errorString();
        }
        if (loaded.function == nullptr) loaded.error = tried.join(QLatin1Char('\r'));
        it = modules.insert(key, loaded);
    }
    if (path != nullptr) *path = it->path;
    if (error != nullptr) *error = it->error;
    return it->function;
}

}  // namespace velkaro
