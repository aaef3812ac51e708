#pragma once
// Reading and writing a whole file in a test.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace TestSupport
{

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace TestSupport
