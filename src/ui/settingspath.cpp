#include "settingspath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velkaro {

namespace {

std::filesystem::path toPath(const QString& s) {
#ifdef _WIN32
    return std::filesystem::path(s.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(s).toStdString());
#endif
}

}  // namespace

std::filesystem::path chooseSettingsFile() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString beside = program.absolutePath() + QLatin1Char('/') + program.completeBaseName() +
                           QStringLiteral(".INI");
    if (QFileInfo::exists(beside) || QFileInfo(program.absolutePath()).isWritable()) {
        return toPath(beside);
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return toPath(folder + QLatin1Char('/') + program.completeBaseName() + QStringLiteral(".INI"));
}

}  // namespace velkaro
