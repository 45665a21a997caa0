#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

// The bytes of a raw-data resource that the program carries inside its own
// executable, found by name and read in place; nothing when it carries no
// such resource.
std::optional<QByteArray> carriedResource(const QString &name);

} // namespace platform
