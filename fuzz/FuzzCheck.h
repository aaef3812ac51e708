#pragma once
// What the fuzz targets check with: a broken promise stops the run at once,
// so the fuzzer keeps the input that broke it.

#include <QByteArray>
#include <cstdlib>

inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Lines of a file as the readers count them: text after the last line end is a line too.
inline qsizetype LineCount(const QByteArray &bytes)
{
    return bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
}
