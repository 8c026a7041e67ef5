#include "app/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace dbcopy {

void WrappingCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    const QRect textArea = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    style()->drawItemText(
        &painter, textArea,
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, option.palette,
        isEnabled(), caption, QPalette::WindowText);
}

bool WrappingCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

}  // namespace dbcopy
