#pragma once

#include "platform/workingfile.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace resources {

// The database that travels inside the executable, as its raw-data resource
// "Resource_1".
class CarriedDatabase final {
public:
    class Missing final : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Throws Missing when the program does not carry the resource.
    static CarriedDatabase load(const QString &resourceName = QStringLiteral("Resource_1"));

    const QByteArray &bytes() const { return m_bytes; }

private:
    explicit CarriedDatabase(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};

// The working copy is the carried database written out in the current
// folder and held, with no sharing, for the whole run.
using WorkingCopy = platform::WorkingFile;
using platform::currentFolder;

} // namespace resources
