#include "desktop.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

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
    // nearest. Read as PNG by name: guessing the format would load every image
    // format plugin first.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/velkaro-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

namespace {

class FirstFrameWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QTimer::singleShot(0, qApp, [] { QApplication::setWindowIcon(programIcon()); });
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void showProgramIconAfterFirstFrame(QWidget* window) {
    window->installEventFilter(new FirstFrameWatcher(window));
}

}  // namespace velkaro
