#include "optionsdialog.h"

namespace velkaro {

OptionsDialog::OptionsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    ui.setupUi(this);
    setModal(false);
    // At least the designed 250 x 173; more where the font needs it.
    ui.Panel1->setMinimumSize(ui.Panel1->minimumSizeHint().expandedTo(QSize(230, 120)));
    connect(ui.Button1, &QPushButton::clicked, this, &QDialog::hide);
}

}  // namespace velkaro
