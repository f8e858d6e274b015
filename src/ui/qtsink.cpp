#include "qtsink.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "binder.h"

namespace velkaro {

QtSink::QtSink(Binder& binder, QWidget* owner) : binder_(binder), owner_(owner) {}

QString QtSink::displayText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void QtSink::show(int icon, const QString& title, const std::string& text) {
    // What the action wrote so far is on screen while the box is open.
    binder_.repaint();
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, displayText(text), QMessageBox::Ok,
                    owner_);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

void QtSink::errorBox(const std::string& text) {
    show(QMessageBox::Critical, QStringLiteral("Fehler"), text);
}

void QtSink::plainMessage(const std::string& text) {
    show(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text);
}

void QtSink::generalError(const std::string& text) {
    show(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text);
}

void QtSink::focusPrevious(const std::string& control) { binder_.postFocusPrevious(control); }

void QtSink::showHelp(int context) {
    if (helpHandler) helpHandler(context);
}

void QtSink::openUrl(const std::string& url) { openLink(url); }

bool QtSink::openLink(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

}  // namespace velkaro
