#include "platform/carriedresource.h"

#include <QFileInfo>
#include <QResource>

namespace platform {

// An ELF program has no resources of its own kind: the carried bytes travel
// as Qt resources at the root (":/NAME"), stored uncompressed so that they
// are read in place.
std::optional<QByteArray> carriedResource(const QString &name)
{
    const QString path = QStringLiteral(":/") + name;
    const QResource resource(path);
    if (name.isEmpty() || !resource.isValid() || QFileInfo(path).isDir())
        return std::nullopt;
    return resource.uncompressedData();
}

} // namespace platform
