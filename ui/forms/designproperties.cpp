#include "forms/designproperties.h"

#include "look/carriedart.h"

#include <QAbstractButton>
#include <QColor>
#include <QWidget>

namespace ui {

void applyDesignProperties(QWidget *root)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        if (const QVariant height = widget->property("fontHeight"); height.isValid()) {
            QFont font = widget->font();
            font.setPixelSize(height.toInt());
            widget->setFont(font);
        }
        if (const QVariant colour = widget->property("textColor"); colour.isValid()) {
            QPalette palette = widget->palette();
            palette.setColor(widget->foregroundRole(), colour.value<QColor>());
            widget->setPalette(palette);
        }
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if (const QVariant picture = widget->property("picture"); button && picture.isValid())
            button->setIcon(carriedButtonIcon(picture.toString()));
    }
}

} // namespace ui
