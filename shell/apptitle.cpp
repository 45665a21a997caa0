#include "apptitle.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace shell {

QString applicationTitleFor(const QString &executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    name.truncate(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    return name.left(1) + name.mid(1).toLower();
}

const QString &applicationTitle()
{
    static const QString title = applicationTitleFor(QCoreApplication::applicationFilePath());
    return title;
}

} // namespace shell
