#include "app/ZhurnalKeeper.h"

#include "app/FormaFiles.h"
#include "core/GameEngine.h"
#include "core/ProgramState.h"
#include "io/FileRead.h"
#include "io/Zhurnal.h"

#include <QDir>
#include <QFileInfo>

ZhurnalKeeper::ZhurnalKeeper(const ProgramState &state, GameEngine &igra, const FormaFiles &files,
                             Messenger &messenger, std::function<void()> noteChanged)
    : state_(state), igra_(igra), files_(files), messenger_(messenger), noteChanged_(std::move(noteChanged)),
      zhurnal_(std::make_unique<Zhurnal>(files.Folder())), facts_([this] { soon_.start(); })
{
    // Written as soon as the keystroke is handled and the window repainted,
    // also under an announcement that stays open.
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    QObject::connect(&soon_, &QTimer::timeout, [this] { Write(); });
    igra_.Listen(facts_);
}

ZhurnalKeeper::~ZhurnalKeeper()
{
    igra_.Unlisten(facts_);
}

bool ZhurnalKeeper::Owned() const
{
    return zhurnal_->Owned();
}

QString ZhurnalKeeper::Note() const
{
    if (!zhurnal_->Owned())
        return QStringLiteral("\nЖурнал этой папки ведёт другое окно: здесь журнала нет");
    if (failed_)
        return QStringLiteral("\nЖурнал не записывается: после сбоя не восстановить");
    return {};
}

QString ZhurnalKeeper::Path() const
{
    return zhurnal_->Path();
}

QString ZhurnalKeeper::CopyPath() const
{
    return zhurnal_->CopyPath();
}

void ZhurnalKeeper::Write()
{
    if (!zhurnal_->Owned())
        return;
    const BiletStore &store = state_.store;
    if (state_.RegimState == Rezhim::Zagruzka) {
        // Only tickets that no file holds need keeping.
        if (!store.Unsaved() || store.BiletCount() <= 0) {
            Remove();
            return;
        }
        Written(zhurnal_->Write(ZhurnalFile::EncodeZagruzka(BiletName(), *state_.kind, state_.TiragTitle,
                                                            store.Bilety(), store.BiletCount())));
        return;
    }
    if (state_.RegimState != Rezhim::Proverka || fingerprint_.isEmpty())
        return;
    ZhurnalData data;
    data.BiletFile = biletName_;
    data.fingerprint = fingerprint_;
    data.RegimTitle = state_.RegimTitle;
    data.tirag = igra_.HodyTirag();
    Written(zhurnal_->Write(ZhurnalFile::Encode(data)));
}

void ZhurnalKeeper::Start()
{
    fingerprint_.clear();
    const BiletStore &store = state_.store;
    if (!zhurnal_->Owned() || store.BiletCount() <= 0)
        return;
    // The tickets are copied once, so that a number costs only the short journal.
    const QByteArray set = BiletFile::Encode(state_.TiragTitle, store.Bilety(), store.BiletCount());
    const bool asFile = !store.Unsaved() && !store.File().isEmpty() && !files_.Fingerprint().isEmpty();
    biletName_ = asFile ? BiletName() : QString();
    fingerprint_ = asFile ? files_.Fingerprint() : ZhurnalFile::Fingerprint(set);
    Written(zhurnal_->WriteCopy(ZhurnalFile::EncodeCopy(fingerprint_, *state_.kind, state_.TiragTitle,
                                                        store.Bilety(), store.BiletCount())));
}

QString ZhurnalKeeper::BiletName() const
{
    const QString &name = state_.store.File();
    if (name.isEmpty())
        return {};
    // By its bare name when it lies beside the journal; the work folder may
    // have moved to another file's folder since the journal was taken.
    const QFileInfo file(files_.PathOf(name));
    return file.absolutePath() == QFileInfo(zhurnal_->Folder()).absoluteFilePath() ? file.fileName()
                                                                                   : file.absoluteFilePath();
}

void ZhurnalKeeper::Written(SaveStatus status)
{
    const bool failed = status != SaveStatus::Saved;
    if (failed == failed_)
        return;
    failed_ = failed;
    noteChanged_();
    if (!failed || told_)
        return;
    told_ = true;
    messenger_.Tell(QStringLiteral("Журнал «%1» записать не возможно.\nРабота продолжается, но после сбоя "
                                   "её не восстановить.")
                        .arg(QDir::toNativeSeparators(zhurnal_->Path())),
                    MsgIcon::Warning, Titles::Files);
}

void ZhurnalKeeper::Remove()
{
    soon_.stop();
    zhurnal_->Remove();
}

std::optional<ZhurnalData> ZhurnalKeeper::Offer()
{
    if (!zhurnal_->Owned()) {
        noteChanged_();
        messenger_.Tell(
            QStringLiteral("В этой папке уже работает другое окно программы, и журнал ведёт оно.\n"
                           "Это окно работает без журнала: после сбоя его работу не восстановить."),
            MsgIcon::Information);
        return std::nullopt;
    }
    zhurnal_->RemoveLeftovers();
    const QString path = zhurnal_->Path();
    const QFileInfo info(path);
    // Something else in the journal's place (a folder) is no journal: it is
    // left alone, and the first journal write says that it cannot be written.
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    const QString shown = QDir::toNativeSeparators(path);
    // Never through a link planted in its place.
    auto bytes = FileRead::OwnWhole(path);
    if (std::get_if<ReadFailure>(&bytes)) {
        messenger_.Tell(QStringLiteral("Журнал «%1» прочитать не возможно.").arg(shown), MsgIcon::Warning,
                        Titles::Files);
        Remove();
        return std::nullopt;
    }
    auto parsed = ZhurnalFile::Parse(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<FileParseError>(&parsed)) {
        messenger_.Tell(DescribeParseError(shown, *error), MsgIcon::Warning, Titles::Files);
        Remove();
        return std::nullopt;
    }
    ZhurnalData data = std::get<ZhurnalData>(std::move(parsed));
    const QString question =
        data.zagruzka
            ? QStringLiteral("Восстановить несохранённые билеты (%1)?").arg(data.bilety.Bilety.size())
            : QStringLiteral("Продолжить незавершённую проверку?");
    if (!messenger_.Ask(question)) {
        Remove();
        return std::nullopt;
    }
    return data;
}

ZhurnalKeeper::GameBilety ZhurnalKeeper::FindBilety(const ZhurnalData &data)
{
    QString problem;
    if (!data.BiletFile.isEmpty()) {
        const auto bilet = FileRead::Whole(files_.PathOf(data.BiletFile));
        if (const auto *failure = std::get_if<ReadFailure>(&bilet))
            problem = *failure == ReadFailure::Missing
                          ? QStringLiteral("Файл «%1» не найден.").arg(data.BiletFile)
                          : QStringLiteral("Файл «%1» открыть не возможно.").arg(data.BiletFile);
        else if (ZhurnalFile::Fingerprint(std::get<QByteArray>(bilet)) != data.fingerprint)
            problem = QStringLiteral("Файл «%1» изменён после начала проверки.").arg(data.BiletFile);
        if (problem.isEmpty())
            return GameBilety{true, std::nullopt};
    }
    // The journal's own copy of the tickets, when it is the game's.
    GameBilety found;
    const auto copyBytes = FileRead::OwnWhole(zhurnal_->CopyPath());
    if (const auto *read = std::get_if<QByteArray>(&copyBytes)) {
        auto parsed = ZhurnalFile::ParseCopy(*read);
        if (auto *whole = std::get_if<BiletyCopy>(&parsed); whole && whole->fingerprint == data.fingerprint)
            found.copy = std::move(*whole);
    }
    const QString said = problem.isEmpty() ? QString() : problem + QLatin1Char('\n');
    if (!found.copy)
        messenger_.Tell(said + QStringLiteral("Проверку продолжить не возможно."), MsgIcon::Warning,
                        Titles::Files);
    else
        messenger_.Tell(said + QStringLiteral("Проверка продолжается по копии билетов из журнала."),
                        MsgIcon::Information, Titles::Files);
    return found;
}
