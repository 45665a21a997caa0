#include "fontheights.h"

#include <QWidget>

namespace ui {

void applyFontHeights(QWidget *root)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        const QVariant height = widget->property("fontHeight");
        if (!height.isValid())
            continue;
        QFont font = widget->font();
        font.setPixelSize(height.toInt());
        widget->setFont(font);
    }
}

} // namespace ui
