#include "workingcopy.h"

#include "platform/carriedresource.h"

namespace resources {

CarriedDatabase CarriedDatabase::load(const QString &resourceName)
{
    std::optional<QByteArray> bytes = platform::carriedResource(resourceName);
    if (!bytes)
        throw Missing("the carried database " + resourceName.toStdString() + " is missing");
    return CarriedDatabase(std::move(*bytes));
}

} // namespace resources
