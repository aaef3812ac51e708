#include "app/FormaFiles.h"

#include "io/DeskSettings.h"
#include "io/FileRead.h"
#include "io/FileSave.h"
#include "io/RecentFiles.h"
#include "io/WorkFolder.h"
#include "io/ZhurnalFile.h"

#include <QDir>
#include <QFileInfo>

FormaFiles::FormaFiles(ProgramState &state, Messenger &messenger, const QString &workFolder)
    : state_(state), messenger_(messenger), folder_(workFolder)
{
}

QString FormaFiles::PathOf(const QString &name) const
{
    return QDir(folder_).filePath(name);
}

std::optional<FormaFiles::Bilety> FormaFiles::ReadBilety(const QString &name)
{
    auto bytes = FileRead::Whole(PathOf(name));
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(FileRead::Message(*failure), MsgIcon::Warning);
        return std::nullopt;
    }
    Bilety read;
    // The name tells the kind, as it does to the checker.
    read.kind = &Loto::KindOfBiletFile(name);
    auto parsed = BiletFile::Parse(std::get<QByteArray>(bytes), &read.data);
    if (std::holds_alternative<BiletFileData>(parsed))
        read.fingerprint = ZhurnalFile::Fingerprint(std::get<QByteArray>(bytes));
    // The file's bytes are not needed while the set is built: a large file
    // would otherwise be held twice over.
    bytes = QByteArray();
    if (auto *whole = std::get_if<BiletFileData>(&parsed)) {
        read.data = std::move(*whole);
        return read;
    }
    // Nothing of the set in hand is touched by a file that cannot be read.
    messenger_.Tell(DescribeParseError(name, std::get<FileParseError>(parsed)), MsgIcon::Warning,
                    Titles::Files);
    if (read.data.Bilety.empty())
        return std::nullopt;
    // A file cut short still holds the tickets before the cut.
    MessageRequest q;
    q.title = Titles::Files;
    q.text = QStringLiteral("Открыть %1 целых билетов?").arg(read.data.Bilety.size());
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = MsgAnswer::No;
    if (messenger_.Show(q) != MsgAnswer::Yes)
        return std::nullopt;
    read.damaged = true;
    return read;
}

void FormaFiles::BiletyOpened(const QString &name, const Bilety &read)
{
    Remember(name);
    fingerprint_ = read.fingerprint;
    // The damaged file is never replaced unasked: the next save asks for a name.
    if (read.damaged)
        state_.store.SetFile(QString());
}

bool FormaFiles::MayReplace(const QString &name, const QString &currentName)
{
    if (name == currentName || !QFileInfo(PathOf(name)).isFile())
        return true;
    MessageRequest q;
    q.title = Titles::Files;
    q.text = QStringLiteral("Файл уже существует.\nЗаменить его?");
    q.icon = MsgIcon::Warning;
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = MsgAnswer::No;
    return messenger_.Show(q) == MsgAnswer::Yes;
}

bool FormaFiles::WriteFile(const QString &name, const QByteArray &bytes)
{
    switch (FileSave::WriteAtomically(PathOf(name), bytes)) {
    case SaveStatus::Saved:
        return true;
    case SaveStatus::Protected:
        messenger_.Tell(QStringLiteral("Файл защищён от записи."), MsgIcon::Error, Titles::Files);
        return false;
    case SaveStatus::Failed:
        break;
    }
    messenger_.Tell(QStringLiteral("Файл сохранить не возможно."), MsgIcon::Error, Titles::Files);
    return false;
}

bool FormaFiles::SaveBilety(const QString &name)
{
    BiletStore &store = state_.store;
    if (!MayReplace(name, store.File()))
        return false;
    const QByteArray bytes = BiletFile::Encode(state_.TiragTitle, store.Bilety(), store.BiletCount());
    if (!WriteFile(name, bytes))
        return false;
    store.Saved(name);
    Remember(name);
    fingerprint_ = ZhurnalFile::Fingerprint(bytes);
    savedNote_ =
        QStringLiteral("Сохранено: ") + QDir::toNativeSeparators(QFileInfo(PathOf(name)).absoluteFilePath());
    return true;
}

bool FormaFiles::AnyToSave()
{
    if (state_.store.BiletCount() != 0)
        return true;
    messenger_.Tell(QStringLiteral("Ни одного загруженного билета."), MsgIcon::Warning);
    return false;
}

QString FormaFiles::SaveName() const
{
    // A set read from another folder (given by its whole path) is saved into
    // the work folder under a name the user gives, never back where it came from.
    const QString &file = state_.store.File();
    return QDir::isAbsolutePath(file) ? QString() : file;
}

bool FormaFiles::MaySave(const std::function<void()> &save)
{
    // A set of no tickets cannot be saved, nor lost.
    if (!state_.store.Unsaved() || state_.store.BiletCount() <= 0)
        return true;
    MessageRequest q;
    q.text = QStringLiteral("Изменения в билетах не сохранены.\nСохранить их?");
    q.buttons = MsgButtons::SaveDiscardCancel;
    q.defaultButton = MsgAnswer::Save;
    switch (messenger_.Show(q)) {
    case MsgAnswer::Save:
        // The ordinary save, with its file dialog when the set has no file yet.
        save();
        return !state_.store.Unsaved();
    case MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
}

std::optional<TiragFileData> FormaFiles::ReadTirag(const QString &name)
{
    auto bytes = FileRead::Whole(PathOf(name));
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(FileRead::Message(*failure), MsgIcon::Error, Titles::Files);
        return std::nullopt;
    }
    auto parsed = TiragFile::Parse(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<FileParseError>(&parsed)) {
        messenger_.Tell(DescribeParseError(name, *error), MsgIcon::Error, Titles::Files);
        return std::nullopt;
    }
    TiragFileData &data = std::get<TiragFileData>(parsed);
    // Another draw than the tickets' is most likely the wrong file, but may be checked.
    if (Loto::OtherTirag(state_.TiragTitle, data.RegimTitle) &&
        !messenger_.Ask(Loto::OtherTiragText(state_.TiragTitle, data.RegimTitle) +
                        QStringLiteral(" Проверить всё равно?")))
        return std::nullopt;
    return std::move(data);
}

void FormaFiles::TiragOpened(const QString &name)
{
    state_.TiragFile = name;
    Remember(name);
}

bool FormaFiles::SaveTirag(const QString &name)
{
    if (!MayReplace(name, state_.TiragFile))
        return false;
    if (!WriteFile(name, TiragFile::Encode(state_.RegimTitle, state_.TiragNomera)))
        return false;
    state_.TiragFile = name;
    Remember(name);
    return true;
}

std::optional<Loto::FileKind> FormaFiles::KindOfPath(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        messenger_.Tell(file.exists() ? QStringLiteral("Файл открыть не возможно.")
                                      : QStringLiteral("Файл не найден."),
                        MsgIcon::Warning);
        return std::nullopt;
    }
    const Loto::FileKind kind = Loto::KindOfFile(file.fileName());
    if (!kind.Opens()) {
        messenger_.Tell(QStringLiteral("Файл открыть не возможно."), MsgIcon::Warning);
        return std::nullopt;
    }
    return kind;
}

QString FormaFiles::EnterFolderOf(const QString &path)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    if (QDir(folder) == QDir(folder_))
        return file.fileName();
    if (QFileInfo(folder).isWritable() && !WorkFolder::OthersMayWrite(folder)) {
        folder_ = folder;
        folderNote_ = QStringLiteral("Папка: ") + QDir::toNativeSeparators(folder);
        return file.fileName();
    }
    // A folder the user may not write to (the installed examples), or one
    // everybody may write to (/tmp), is only read from: saves, settings and
    // the journal stay in the work folder.
    folderNote_ = QStringLiteral("Открыт из папки ") + QDir::toNativeSeparators(folder);
    return file.absoluteFilePath();
}

bool FormaFiles::StillThere(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    DeskSettings::SetRecentFiles(RecentFiles::Without(DeskSettings::RecentFiles(), path));
    messenger_.Tell(QStringLiteral("Файл не найден:\n%1\nОн убран из списка недавних файлов.")
                        .arg(QDir::toNativeSeparators(path)),
                    MsgIcon::Warning);
    return false;
}

void FormaFiles::Remember(const QString &name)
{
    DeskSettings::SetRecentFiles(RecentFiles::With(DeskSettings::RecentFiles(), PathOf(name)));
}

QString FormaFiles::Notes() const
{
    if (state_.store.Unsaved() && state_.store.BiletCount() > 0)
        return QStringLiteral("\nБилеты не сохранены");
    return savedNote_.isEmpty() ? QString() : QLatin1Char('\n') + savedNote_;
}
