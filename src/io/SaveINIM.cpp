#include "io/SaveINIM.h"

#include "io/FileRead.h"

#include <QDir>
#include <QList>
#include <cmath>
#include <limits>
#include <optional>

namespace SettingsFile
{
namespace
{

// A number as the platform prints it: sign place (space or minus), digits,
// one trailing space.
QByteArray NumberField(qint32 n)
{
    QByteArray digits =
        QByteArray::number(static_cast<qint64>(n) < 0 ? -static_cast<qint64>(n) : static_cast<qint64>(n));
    return (n < 0 ? "-" : " ") + digits + " ";
}

std::optional<qint32> ParseValue(const QByteArray &token)
{
    bool ok = false;
    const qlonglong whole = token.toLongLong(&ok);
    if (ok) {
        if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return static_cast<qint32>(whole);
    }
    // A value edited by hand as "100.0" still means 100.
    const double real = token.toDouble(&ok);
    if (!ok || !std::isfinite(real))
        return std::nullopt;
    const double rounded = std::nearbyint(real);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

} // namespace

QByteArray Encode(const Settings &settings)
{
    return NumberField(settings.interval) + "\r\n" + NumberField(settings.MaxHod) + "\r\n";
}

Settings Decode(const QByteArray &bytes)
{
    Settings result;
    // One value a line; spaces around a value do not count.
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF")) // saved by an editor that marks UTF-8
        text.remove(0, 3);
    const QList<QByteArray> lines = text.split('\n');
    auto value = [&lines](int i) -> std::optional<qint32> {
        if (i >= lines.size())
            return std::nullopt;
        return ParseValue(lines[i].trimmed());
    };
    if (auto v = value(0))
        result.interval = *v;
    if (auto v = value(1))
        result.MaxHod = *v;
    return result;
}

Settings Read(const QString &path)
{
    // Two short lines; a huge file is not ours and needs no more than its start.
    // A pipe or a device of that name is not read at all.
    const auto bytes = FileRead::OwnStart(path, 4096);
    if (const auto *read = std::get_if<QByteArray>(&bytes))
        return Decode(*read);
    return Settings{};
}

SaveStatus Write(const QString &path, const Settings &settings)
{
    return FileSave::WriteOwnFile(path, Encode(settings));
}

} // namespace SettingsFile

int SaveINIM(Messenger &messenger, const QString &folder, const Settings &settings)
{
    if (!messenger.Ask(QStringLiteral("Закрыть программу?")))
        return 1;
    WriteINIM(messenger, folder, settings);
    return 0;
}

void WriteINIM(Messenger &messenger, const QString &folder, const Settings &settings)
{
    const QString name = SettingsFile::FileName;
    switch (SettingsFile::Write(QDir(folder).filePath(name), settings)) {
    case SaveStatus::Saved:
        break;
    case SaveStatus::Protected:
        messenger.Tell(QStringLiteral("Файл «%1» защищён от записи.").arg(name), MsgIcon::Error,
                       Titles::Files);
        break;
    case SaveStatus::Failed:
        messenger.Tell(QStringLiteral("Файл «%1» сохранить не возможно.").arg(name), MsgIcon::Error,
                       Titles::Files);
        break;
    }
}
