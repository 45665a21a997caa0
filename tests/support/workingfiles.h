#pragma once

#include "platform/workingfile.h"

#include <QByteArray>
#include <QFile>
#include <QTest>

// The whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Whether writing the bytes as a working file at the path (its bytes, as
// the platform names files) is refused.
inline bool throwsWriteFailed(const QByteArray &bytes, const QByteArray &path)
{
    try {
        platform::WorkingFile::write(bytes, path);
    } catch (const platform::WorkingFile::WriteFailed &) {
        return true;
    }
    return false;
}
