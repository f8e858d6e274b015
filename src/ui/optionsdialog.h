#pragma once
// The Options dialog: decimal places and short hints. Modeless; "OK" and the
// close box only hide it. Its buttons are model controls, bound by name.

#include <QDialog>

#include "ui_optionsdialog.h"

namespace velkaro {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent);

private:
    Ui::OptionsDialog ui;
};

}  // namespace velkaro
