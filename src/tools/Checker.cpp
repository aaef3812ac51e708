#include "tools/Checker.h"

#include "core/GameEngine.h"
#include "core/LotoRules.h"
#include "core/Messenger.h"
#include "core/ProgramState.h"
#include "io/BiletFile.h"
#include "io/FileRead.h"
#include "io/ResultText.h"
#include "io/TiragFile.h"
#include "tools/CheckView.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace Check
{
namespace
{

// Every question is answered No; every box is kept, title and text, in order.
class CheckMessenger : public Messenger
{
public:
    explicit CheckMessenger(Messages &shown) : shown_(shown) {}

    MsgAnswer Show(const MessageRequest &request) override
    {
        shown_.Add(request.title, request.text);
        return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }

private:
    Messages &shown_;
};

// The message names the file: with two files on the command line, the
// window's bare "Файл не найден." would leave the user guessing which.
Failure FileFailure(const QString &path, const QString &message)
{
    return Failure{path + QStringLiteral(": ") + message};
}

std::variant<QByteArray, Failure> ReadWhole(const QString &path, qint64 maxBytes = FileRead::kMaxBytes)
{
    auto bytes = FileRead::Whole(path, maxBytes);
    if (const auto *failure = std::get_if<ReadFailure>(&bytes))
        return FileFailure(path, FileRead::Message(*failure));
    return std::get<QByteArray>(std::move(bytes));
}

// Reads and parses one file; Data is the parser's value.
template <typename Data, typename ParseFn>
std::variant<Data, Failure> ReadFile(const QString &path, ParseFn parse)
{
    auto bytes = ReadWhole(path);
    if (auto *failure = std::get_if<Failure>(&bytes))
        return std::move(*failure);
    auto parsed = parse(std::get<QByteArray>(bytes));
    if (const auto *error = std::get_if<FileParseError>(&parsed))
        return Failure{DescribeParseError(path, *error)};
    return std::get<Data>(std::move(parsed));
}

// The ticket set goes in as the window's "Открыть билеты" leaves it: kind and
// titles from the file, every ticket in the list, the number index in file
// order, ticket 0 on the card, no game running.
void LoadBilety(ProgramState &state, const QString &biletPath, BiletFileData data)
{
    const QString name = QFileInfo(biletPath).fileName();
    state.OpenBilety(name, Loto::KindOfBiletFile(name), data.TiragTitle, std::move(data.Bilety));
}

// As "Открыть тираж": the draw becomes the replay source and the replay starts.
// Then the ticks come one after another until the game is over.
void Replay(ProgramState &state, GameEngine &engine, const QString &tiragPath, const TiragFileData &data)
{
    state.TiragFile = QFileInfo(tiragPath).fileName();
    engine.PovtorTiraga(data.RegimTitle, data.tirag);

    // Every tick consumes at least one entry and the replay stops at the last
    // one, so this bound is never what ends the loop.
    std::size_t ticksLeft = static_cast<std::size_t>(state.PovtorNomera.Size()) + 2;
    while (state.RegimState == Rezhim::Povtor && ticksLeft-- > 0)
        engine.Timer1_Timer();
}

// Completes the report; the messenger and the view have filled in the messages
// and the winners' lines already.
void FillReport(Report &report, const ProgramState &state, const GameEngine &engine, const CheckView &view,
                bool withPaper)
{
    report.game = state.GameTitle;
    report.draw = state.RegimTitle;
    if (Loto::OtherTirag(state.TiragTitle, state.RegimTitle))
        report.warning = Loto::OtherTiragText(state.TiragTitle, state.RegimTitle);
    report.moves = state.TiragNomera.HodCount();
    report.tour = engine.TurNomer;

    report.undrawn = view.Vvednom();

    report.sequence = state.TiragNomera.Entries();

    report.counts = state.stats.Counts();
    report.leaders = state.stats.Leaders();
    report.awaited = state.stats.Awaited();
    if (withPaper)
        report.paper = IgraReport::Of(state, engine);
}

// A published result is a page of text: far below this.
constexpr qint64 kMaxResultBytes = qint64(1) << 20;

std::variant<QByteArray, Failure> ReadText(const QString &path)
{
    if (path != QLatin1String("-"))
        return ReadWhole(path, kMaxResultBytes);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return Failure{QStringLiteral("Стандартный ввод не читается.")};
    QByteArray bytes = in.read(kMaxResultBytes + 1);
    if (bytes.size() > kMaxResultBytes)
        return Failure{QStringLiteral("Стандартный ввод: текст слишком велик для результатов тиража.")};
    return bytes;
}

} // namespace

namespace
{

std::variant<BiletFileData, Failure> ReadBilety(const QString &biletPath)
{
    return ReadFile<BiletFileData>(biletPath, [](const QByteArray &b) { return BiletFile::Parse(b); });
}

// The draw replayed against the tickets read from biletPath, and reported on.
Report ReportOn(const QString &biletPath, BiletFileData bilety, const QString &tiragPath,
                const TiragFileData &draw, bool withPaper)
{
    Report report;
    ProgramState state;
    CheckView view(report.winners, state.store);
    CheckMessenger messenger(report.messages);
    GameEngine engine(state, view, messenger);

    LoadBilety(state, biletPath, std::move(bilety));
    report.winners.Reserve(static_cast<std::size_t>(state.store.BiletCount()));
    Replay(state, engine, tiragPath, draw);
    FillReport(report, state, engine, view, withPaper);
    return report;
}

} // namespace

void Winners::Add(const QString &prefix, qint32 ticket, const QString &number)
{
    // Few prefixes are ever used; the latest is the likeliest.
    std::size_t p = prefixes_.size();
    while (p > 0 && prefixes_[p - 1] != prefix)
        --p;
    if (p == 0) {
        prefixes_.push_back(prefix);
        p = prefixes_.size();
    }
    if (ticket >= 0) {
        const std::size_t t = static_cast<std::size_t>(ticket);
        if (numbers_.size() <= t)
            numbers_.resize(t + 1);
        numbers_[t] = number;
    }
    items_.push_back(Item{static_cast<std::uint32_t>(p - 1), ticket});
}

void Winners::clear()
{
    prefixes_.clear();
    items_.clear();
    numbers_.clear();
}

const QString &Winners::Number(std::size_t i) const
{
    static const QString none;
    const qint32 t = items_[i].ticket;
    return t >= 0 && static_cast<std::size_t>(t) < numbers_.size() ? numbers_[static_cast<std::size_t>(t)]
                                                                   : none;
}

void Messages::Add(const QString &title, const QString &text)
{
    std::size_t t = 0;
    while (t < titles_.size() && titles_[t] != title)
        ++t;
    if (t == titles_.size())
        titles_.push_back(title);
    const QByteArray utf8 = text.toUtf8();
    texts_.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    items_.push_back(Item{static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(texts_.size())});
}

std::string_view Messages::Text(std::size_t i) const
{
    const std::size_t from = i == 0 ? 0 : items_[i - 1].end;
    return std::string_view(texts_).substr(from, items_[i].end - from);
}

std::variant<ResultDraw, Failure> PlayResult(const QString &biletPath, const QString &textPath)
{
    auto bilety = ReadBilety(biletPath);
    if (auto *failure = std::get_if<Failure>(&bilety))
        return std::move(*failure);
    auto text = ReadText(textPath);
    if (auto *failure = std::get_if<Failure>(&text))
        return std::move(*failure);

    BiletFileData &set = std::get<BiletFileData>(bilety);
    const PublishedResult result =
        ResultText::Parse(ResultText::Decode(std::get<QByteArray>(text)), Loto::TiragNumber(set.TiragTitle));
    if (!result.problems.empty()) {
        const ResultProblem &p = result.problems.front();
        const QString name = textPath == QLatin1String("-") ? QStringLiteral("стандартного ввода") : textPath;
        return Failure{QStringLiteral("Текст результатов «%1» не прочитан как тираж: строка %2, %3.")
                           .arg(name, QString::number(p.line), p.text)};
    }

    // The game as the user would have typed it, with nothing shown or asked.
    ProgramState state;
    IgraView quiet;
    Messages ignored;
    CheckMessenger messenger(ignored);
    GameEngine engine(state, quiet, messenger);
    LoadBilety(state, biletPath, set);
    std::vector<std::vector<qint32>> tours;
    for (const PublishedTour &tour : result.tours)
        tours.push_back(tour.nomera);
    engine.PlayResult(tours);

    ResultDraw draw;
    draw.title = result.tirag.isEmpty() ? state.TiragTitle : QStringLiteral("Тираж") + result.tirag;
    draw.tirag = state.TiragNomera;
    return draw;
}

std::variant<Report, Failure> RunDraw(const QString &biletPath, const ResultDraw &draw, bool withPaper)
{
    auto bilety = ReadBilety(biletPath);
    if (auto *failure = std::get_if<Failure>(&bilety))
        return std::move(*failure);
    return ReportOn(biletPath, std::move(std::get<BiletFileData>(bilety)), QString(),
                    TiragFileData{draw.title, draw.tirag}, withPaper);
}

std::variant<Report, Failure> Run(const QString &biletPath, const QString &tiragPath, bool withPaper)
{
    auto bilety = ReadBilety(biletPath);
    if (auto *failure = std::get_if<Failure>(&bilety))
        return std::move(*failure);
    auto tirag = ReadFile<TiragFileData>(tiragPath, [](const QByteArray &b) { return TiragFile::Parse(b); });
    if (auto *failure = std::get_if<Failure>(&tirag))
        return std::move(*failure);
    return ReportOn(biletPath, std::move(std::get<BiletFileData>(bilety)), tiragPath,
                    std::get<TiragFileData>(tirag), withPaper);
}

} // namespace Check
