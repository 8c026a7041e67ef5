#pragma once

#include <QCheckBox>

namespace dbcopy {

// A check box whose caption wraps onto further lines when it is wider than the box, instead of
// being cut off; the whole box answers a click.
class WrappingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace dbcopy
