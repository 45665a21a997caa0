#include "forms/accesskeys.h"

#include <QAction>
#include <QMenu>
#include <QSet>

namespace ui {

void assignAccessKeys(const QList<QAction *> &level)
{
    QSet<QChar> taken;
    for (QAction *item : level) {
        if (item->isSeparator() || !item->isVisible() || item->text().isEmpty())
            continue;
        QString caption = item->text();
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar capital = caption.at(i).toUpper();
            if (capital.unicode() < 128 && capital.isLetterOrNumber() && !taken.contains(capital)) {
                taken.insert(capital);
                caption.insert(i, u'&');
                item->setText(caption);
                break;
            }
        }
        if (item->menu())
            assignAccessKeys(item->menu()->actions());
    }
}

} // namespace ui
