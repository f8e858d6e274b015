#include "desktop.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

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

// Milliseconds since the kernel started this process, or -1 where unknown.
double millisecondsSinceExec() {
#ifdef __linux__
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    // Field 22 of the file is the start time in clock ticks since boot; the
    // text after the command name begins with field 3.
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 -
            std::stod(field) / ticks) *
           1000.0;
#else
    return -1.0;
#endif
}

// The resident set of this process in kB, or -1 where unknown.
long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

void sendKey(QWidget* to, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &release);
}

}  // namespace

// Everything that follows that Enter until the window's repaint is on the
// screen: a profiler counts this function alone
// (valgrind --tool=callgrind --toggle-collect='velkaro::measuredEnter*').
[[gnu::noinline]] void measuredEnter(QWidget* field) {
    sendKey(field, Qt::Key_Return, QStringLiteral("\r"));
    QCoreApplication::sendPostedEvents();
}

namespace {

// Types VELKARO_ENTER_TEXT (default "10") as keys into the field that has the
// focus (else the first one the Tab key reaches), lets its repaint happen,
// then presses Enter in it.
void typeAndEnter() {
    // Without a window manager the window is never activated and nothing has
    // the focus: take the first field the Tab key would reach.
    QWidget* field = QApplication::focusWidget();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (field != nullptr || !top->isVisible()) continue;
        for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
            auto* edit = qobject_cast<QLineEdit*>(w);
            if (edit != nullptr && edit->isVisible() && edit->isEnabled() && !edit->isReadOnly()) {
                field = edit;
                break;
            }
        }
    }
    if (field == nullptr) {
        std::printf("enter: no field has the focus\n");
        return;
    }
    const char* typed = std::getenv("VELKARO_ENTER_TEXT");
    const QString text = QString::fromUtf8(typed != nullptr ? typed : "10");
    sendKey(field, Qt::Key_End);
    for (int i = 0; i < 40; ++i) sendKey(field, Qt::Key_Backspace);
    for (const QChar c : text) sendKey(field, 0, QString(c));
    QCoreApplication::sendPostedEvents();
    measuredEnter(field);
    std::printf("enter in %s done\n", qPrintable(field->objectName()));
}

// For start-up measurements: VELKARO_FIRST_FRAME=exit ends the program as soon
// as the first frame is on the screen, =settle three seconds later; both print
// the time from exec to the first frame. =enter types into the focused field
// after the first frame and presses Enter there, then ends.
void firstFrameShown() {
    const char* mode = std::getenv("VELKARO_FIRST_FRAME");
    if (mode == nullptr) return;
    std::printf("first frame after %.1f ms, %ld kB resident\n", millisecondsSinceExec(),
                residentKilobytes());
    std::fflush(stdout);
    if (std::string(mode) == "enter") {
        typeAndEnter();
        std::fflush(stdout);
    }
    if (std::string(mode) != "settle") std::_Exit(0);
    QTimer::singleShot(3000, qApp, [] { std::_Exit(0); });
}

class FirstFrameWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QTimer::singleShot(0, qApp, [] {
                firstFrameShown();
                QApplication::setWindowIcon(programIcon());
            });
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
