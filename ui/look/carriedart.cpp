#include "look/carriedart.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QResource>

#include <cstring>

namespace ui {

QImage carriedImage(const QString &name)
{
    const QResource resource(QStringLiteral(":/art/%1.argb").arg(name));
    quint32 size[2] = {0, 0};
    if (!resource.isValid() || resource.size() < qint64(sizeof size))
        return QImage();
    std::memcpy(size, resource.data(), sizeof size);
    const uchar *pixels = resource.data() + sizeof size;
    if (resource.size() - qint64(sizeof size) != qint64(size[0]) * size[1] * 4)
        return QImage();
    // The carried bytes live as long as the program: the image need not copy them.
    return QImage(pixels, int(size[0]), int(size[1]), QImage::Format_ARGB32);
}

QIcon carriedButtonIcon(const QString &name)
{
    // Like QIcon::addFile, which adds a picture's @2x version whenever the
    // display is denser than 1, as a plain picture twice the size.
    const bool dense = qApp->devicePixelRatio() > 1.0;
    QIcon icon;
    for (const auto &[state, mode] : {std::pair{"normal", QIcon::Normal}, std::pair{"disabled", QIcon::Disabled}}) {
        const QString picture = name + u'-' + QLatin1String(state);
        icon.addPixmap(QPixmap::fromImage(carriedImage(picture)), mode);
        if (dense)
            icon.addPixmap(QPixmap::fromImage(carriedImage(picture + QStringLiteral("@2x"))), mode);
    }
    return icon;
}

QIcon carriedProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        // Kept non-premultiplied: the window manager's icon property wants
        // exactly that, and any other form would be converted before the
        // window could appear.
        icon.addPixmap(QPixmap::fromImage(carriedImage(QStringLiteral("bee-%1").arg(size)),
                                          Qt::NoFormatConversion));
    }
    return icon;
}

} // namespace ui
