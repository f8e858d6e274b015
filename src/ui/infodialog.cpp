#include "infodialog.h"

#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QPalette>
#include <QShowEvent>
#include <QStringList>
#include <QTextDocument>

#include <algorithm>
#include <utility>

#include "core/maillink.h"
#include "qtsink.h"

namespace velkaro {

namespace {

const char* const kBuildText = "Build:  08.06.2011";

// Shown when no mail program could be opened for the problem report.
const char* const kMailFailedText =
    "Das E-Mail-Programm lie\u00df sich nicht \u00f6ffnen.\n\n"
    "Bitte schreiben Sie Ihre Fehlermeldung oder Anregung an:\n%1";

// The size the dialog has at 96 dpi with the program font; larger fonts make
// it grow, never shrink below this.
constexpr QSize kDesignSize(401, 362);

// Visible text lines the note area holds, whichever of the two is shown.
constexpr int kNoteLines = 7;

// `base` scaled by `factor`, keeping whichever unit (pixels or points) it uses.
QFont scaledFont(QFont base, double factor) {
    if (base.pixelSize() > 0) {
        base.setPixelSize(std::max(1, static_cast<int>(base.pixelSize() * factor + 0.5)));
    } else if (base.pointSizeF() > 0) {
        base.setPointSizeF(base.pointSizeF() * factor);
    }
    return base;
}

// The fixed-width system font at the size of `like`.
QFont fixedFontLike(const QFont& like) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (like.pixelSize() > 0) {
        fixed.setPixelSize(like.pixelSize());
    } else if (like.pointSizeF() > 0) {
        fixed.setPointSizeF(like.pointSizeF());
    }
    return fixed;
}

}  // namespace

InfoDialog::InfoDialog(QWidget* parent, UrlOpener openUrl)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      openUrl_(std::move(openUrl)) {
    ui.setupUi(this);

    // Tool-tip colours for the title panel, its texts included.
    ui.Panel1->setBackgroundRole(QPalette::ToolTipBase);
    for (QLabel* label : {ui.StaticText3, ui.StaticText1, ui.StaticText4}) {
        label->setForegroundRole(QPalette::ToolTipText);
    }

    // The note and the credits share one place; the note comes first.
    ui.LBCredits1->hide();
    ui.Memo1->show();

    connect(ui.Credits, &QPushButton::clicked, this, &InfoDialog::toggleCredits);
    connect(ui.Button1, &QPushButton::clicked, this, &InfoDialog::sendMail);
    connect(ui.OK, &QPushButton::clicked, this, &InfoDialog::closeAndReturn);

    applyFonts();
    fitSize();
}

void InfoDialog::showEvent(QShowEvent* event) {
    ui.StaticText4->setText(QString::fromLatin1(kBuildText));
    QDialog::showEvent(event);
}

void InfoDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        applyFonts();
        fitSize();
    }
}

void InfoDialog::toggleCredits() {
    if (ui.LBCredits1->isVisibleTo(this)) {
        ui.LBCredits1->hide();
        ui.Memo1->show();
        ui.Credits->setText(QStringLiteral("Credits"));
    } else {
        ui.LBCredits1->show();
        ui.Memo1->hide();
        ui.Credits->setText(QStringLiteral("Hinweis"));
    }
}

void InfoDialog::sendMail() {
    if (!openUrl_ || openUrl_(encodeForUrl(infoMailLink(kInfoMailRecipient)))) return;
    // No mail program took the link (none set up, or no desktop to ask): the
    // address, selectable, so that the user can write by hand.
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                    QString::fromUtf8(kMailFailedText).arg(QString::fromLatin1(kInfoMailRecipient)),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("MailFailedBox"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

void InfoDialog::closeAndReturn() {
    if (QWidget* owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
    accept();
}

void InfoDialog::applyFonts() {
    QFont title = scaledFont(font(), 1.5);
    title.setBold(true);
    ui.StaticText1->setFont(title);
    ui.StaticText4->setFont(fixedFontLike(font()));
}

void InfoDialog::fitSize() {
    // The note area must take the longest note line without wrapping and a few
    // lines of either text; the dialog is then fixed at what the layout needs.
    const QFontMetrics metrics(ui.Memo1->font());
    int longest = 0;
    const QStringList lines = ui.Memo1->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        longest = std::max(longest, metrics.horizontalAdvance(line));
    }
    const int margin =
        2 * (ui.Memo1->frameWidth() + static_cast<int>(ui.Memo1->document()->documentMargin()) + 2);
    const QSize noteSize(longest + margin, kNoteLines * metrics.lineSpacing() + margin);
    ui.Memo1->setMinimumSize(noteSize);
    ui.LBCredits1->setMinimumSize(noteSize);

    // Lift the fixed size first so the layout can report what it really needs.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(layout()->totalSizeHint().expandedTo(kDesignSize));
}

}  // namespace velkaro
