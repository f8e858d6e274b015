// Baselines for startup-time.py: an empty Qt window, and one with a single
// label in the program's font.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(15);
        QApplication::setFont(font);
        auto* label = new QLabel(QStringLiteral("kleiner Velkaro"));
        label->resize(711, 547);
        label->show();
    } else {
        auto* window = new QWidget;
        window->resize(711, 547);
        window->show();
    }
    return app.exec();
}
