// Baselines for the start-up measurement: an empty Qt window, and one with a
// single label in the program's font. With VELKARO_FIRST_FRAME set they end
// (or settle) after their first frame exactly as the program does.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

class FirstFrame : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, [] {
                const char* mode = std::getenv("VELKARO_FIRST_FRAME");
                std::printf("first frame, %ld kB resident\n", residentKilobytes());
                std::fflush(stdout);
                if (std::strcmp(mode, "settle") != 0) std::_Exit(0);
                QTimer::singleShot(3000, qApp, [] { std::_Exit(0); });
            });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget* window = nullptr;
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(15);
        QApplication::setFont(font);
        window = new QLabel(QStringLiteral("kleiner Velkaro"));
    } else {
        window = new QWidget;
    }
    window->resize(711, 547);
    if (std::getenv("VELKARO_FIRST_FRAME") != nullptr) window->installEventFilter(new FirstFrame);
    window->show();
    return app.exec();
}
