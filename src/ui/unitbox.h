// A unit list whose size the binder fits once per list of units.
#pragma once

#include <QComboBox>
#include <QSize>

namespace velkaro {

// QComboBox measures its items whenever its size hint is asked for, and
// changing its size-adjust policy to avoid that builds the popup list at once.
// The unit lists are known before the window shows, so the binder measures
// each list once and sets the hint here and the list's width as the minimum
// width; the popup is built when it first opens.
class UnitBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    void setFittedSize(QSize size) {
        if (size == fitted_) return;
        fitted_ = size;
        updateGeometry();
    }
    QSize sizeHint() const override { return fitted_.isValid() ? fitted_ : QComboBox::sizeHint(); }
    QSize minimumSizeHint() const override {
        return fitted_.isValid() ? fitted_ : QComboBox::minimumSizeHint();
    }

private:
    QSize fitted_;
};

}  // namespace velkaro
