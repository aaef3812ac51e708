#include "io/ResultText.h"

#include "core/LotoRules.h"
#include "io/Cp1251.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

int PublishedResult::Count() const
{
    int count = 0;
    for (const PublishedTour &tour : tours)
        count += static_cast<int>(tour.nomera.size());
    return count;
}

namespace ResultText
{
namespace
{

struct Token {
    enum Kind { Int, Ordinal, TurWord, TiragWord, Date, Word } kind = Word;
    qint64 value = 0;
    qsizetype from = 0;
    qsizetype length = 0;
};

bool IsDigit(QChar c)
{
    return Loto::IsLatinDigit(c);
}

// Letters glued to a number that make it an ordinal: "3-й", "2-ой", "1й".
bool IsOrdinalEnding(const QString &s)
{
    static const std::array<QString, 6> kEndings = {QStringLiteral("й"),  QStringLiteral("ый"),
                                                    QStringLiteral("ий"), QStringLiteral("ой"),
                                                    QStringLiteral("го"), QStringLiteral("ого")};
    for (const QString &e : kEndings)
        if (s.compare(e, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

Token::Kind WordKind(const QString &word)
{
    const QString w = word.toLower();
    if (w == QStringLiteral("тур") || w == QStringLiteral("тура") || w == QStringLiteral("туре") ||
        w == QStringLiteral("туры") || w == QStringLiteral("туров"))
        return Token::TurWord;
    if (w.startsWith(QStringLiteral("тираж")))
        return Token::TiragWord;
    return Token::Word;
}

// The tokens of text[from, to): numbers, ordinals, the words that matter and
// any other word; punctuation, "№" and spaces only separate.
std::vector<Token> Tokens(const QString &text, qsizetype from, qsizetype to)
{
    std::vector<Token> tokens;
    qsizetype i = from;
    while (i < to) {
        const QChar c = text.at(i);
        if (IsDigit(c)) {
            const qsizetype start = i;
            qint64 value = 0;
            while (i < to && IsDigit(text.at(i))) {
                value = std::min<qint64>(value * 10 + text.at(i).digitValue(), qint64(1) << 40);
                ++i;
            }
            // A date or a time ("06.12.2026", "20:30") is neither a drawn number nor a draw.
            if (i + 1 < to && (text.at(i) == QLatin1Char('.') || text.at(i) == QLatin1Char(':')) &&
                IsDigit(text.at(i + 1))) {
                while (i < to && (IsDigit(text.at(i)) || text.at(i) == QLatin1Char('.') ||
                                  text.at(i) == QLatin1Char(':')))
                    ++i;
                tokens.push_back({Token::Date, 0, start, i - start});
                continue;
            }
            // "3-й", "2й": an ordinal, which only a following "тур" makes a tour.
            qsizetype j = i < to && text.at(i) == QLatin1Char('-') ? i + 1 : i;
            qsizetype k = j;
            while (k < to && text.at(k).isLetter())
                ++k;
            if (k > j && IsOrdinalEnding(text.mid(j, k - j))) {
                tokens.push_back({Token::Ordinal, value, start, k - start});
                i = k;
                continue;
            }
            tokens.push_back({Token::Int, value, start, i - start});
            continue;
        }
        if (c.isLetter()) {
            const qsizetype start = i;
            while (i < to && text.at(i).isLetter())
                ++i;
            const QString word = text.mid(start, i - start);
            // "N" right before a number stands for "№".
            if (word == QStringLiteral("N") || word == QStringLiteral("No"))
                continue;
            tokens.push_back({WordKind(word), 0, start, i - start});
            continue;
        }
        ++i;
    }
    return tokens;
}

int LineOf(const std::vector<qsizetype> &lineStarts, qsizetype pos)
{
    const auto it = std::upper_bound(lineStarts.begin(), lineStarts.end(), pos);
    return static_cast<int>(it - lineStarts.begin());
}

class Reader
{
public:
    Reader(const QString &text, const QString &setTirag) : text_(text), setTirag_(setTirag) {}

    PublishedResult Read()
    {
        qsizetype start = 0;
        while (start <= text_.size()) {
            qsizetype end = text_.indexOf(QLatin1Char('\n'), start);
            if (end < 0)
                end = text_.size();
            lineStarts_.push_back(start);
            Line(start, end);
            start = end + 1;
        }
        Check();
        return std::move(result_);
    }

private:
    void Line(qsizetype from, qsizetype to)
    {
        const QStringView line = QStringView(text_).sliced(from, to - from);
        if (line.contains(QLatin1Char('|')) || line.contains(QLatin1Char('\t')))
            TableRow(from, to);
        else
            Running(Tokens(text_, from, to));
    }

    // A row of a table: its tour in the first cell, the numbers in the second.
    void TableRow(qsizetype from, qsizetype to)
    {
        std::vector<std::pair<qsizetype, qsizetype>> cells;
        qsizetype cell = from;
        for (qsizetype i = from; i <= to; ++i) {
            if (i == to || text_.at(i) == QLatin1Char('|') || text_.at(i) == QLatin1Char('\t')) {
                if (!QStringView(text_).sliced(cell, i - cell).trimmed().isEmpty())
                    cells.emplace_back(cell, i);
                cell = i + 1;
            }
        }
        if (cells.empty())
            return;
        if (cells.size() < 2) {
            Running(Tokens(text_, from, to)); // an indented line of running text
            return;
        }
        std::optional<Token> tourNo;
        bool tiragCell = false;
        bool otherWord = false;
        for (const Token &t : Tokens(text_, cells[0].first, cells[0].second)) {
            if ((t.kind == Token::Int || t.kind == Token::Ordinal) && !tourNo)
                tourNo = t;
            tiragCell = tiragCell || t.kind == Token::TiragWord;
            otherWord = otherWord || t.kind == Token::Word;
        }
        if (tiragCell) {
            // "Тираж № 1473 | от 06.12.2026": a heading laid out as a table.
            Running(Tokens(text_, from, to));
            return;
        }
        if (!tourNo || otherWord)
            return; // the heading row, a total, a note
        StartTour(*tourNo);
        for (const Token &t : Tokens(text_, cells[1].first, cells[1].second))
            if (t.kind == Token::Int)
                AddNomer(t);
        collecting_ = false; // the numbers of a table row end with its cell
    }

    // Running text: "1 тур: 18, 45 …", "Тур 2 …", "Тираж № 1473 от …".
    void Running(const std::vector<Token> &tokens)
    {
        // Numbers at the start of a line go on with the tour of the line before.
        collecting_ = !result_.tours.empty();
        std::optional<Token> pending; // a number that a "тур" after it would make a tour
        bool pendingCounts = false;
        bool expectTour = false;
        bool expectTirag = false;
        bool afterWord = false; // numbers after a word on a line are that word's (a prize, a count)
        const auto flush = [&] {
            if (pending && pendingCounts)
                AddNomer(*pending);
            else if (pending && pending->kind == Token::Int && result_.tours.empty() && !afterWord &&
                     !outsideReported_) {
                outsideReported_ = true;
                Problem(*pending, QStringLiteral("не сказано, к какому туру относятся числа"));
            }
            pending.reset();
        };
        for (const Token &t : tokens) {
            switch (t.kind) {
            case Token::Int:
            case Token::Ordinal:
                if (expectTour) {
                    expectTour = false;
                    StartTour(t);
                    collecting_ = true;
                } else if (expectTirag) {
                    expectTirag = false;
                    Tirag(t);
                } else {
                    flush();
                    pending = t;
                    pendingCounts = collecting_ && t.kind == Token::Int;
                }
                break;
            case Token::TurWord:
                if (pending) {
                    StartTour(*pending);
                    pending.reset();
                    collecting_ = true;
                } else {
                    expectTour = true;
                }
                break;
            case Token::TiragWord:
                if (pending) {
                    // "1473 тираж": the number before the word names the draw.
                    Tirag(*pending);
                    pending.reset();
                } else {
                    expectTirag = true;
                }
                collecting_ = false;
                afterWord = true;
                break;
            case Token::Date:
                flush();
                break;
            case Token::Word:
                flush();
                expectTour = expectTirag = false;
                collecting_ = false;
                afterWord = true;
                break;
            }
        }
        flush();
    }

    void StartTour(const Token &t)
    {
        const int expected = result_.tours.empty() ? 1 : result_.tours.back().tur + 1;
        if (t.value != expected)
            Problem(t, QStringLiteral("ожидался тур %1").arg(expected));
        PublishedTour tour;
        tour.tur = static_cast<int>(std::min<qint64>(t.value, 1000));
        tour.line = LineOf(lineStarts_, t.from);
        result_.tours.push_back(std::move(tour));
        tourTokens_.push_back(t);
    }

    void AddNomer(const Token &t)
    {
        if (result_.tours.empty())
            return;
        if (t.value < 1 || t.value > Loto::kMaxNomer) {
            Problem(
                t, QStringLiteral("числа %1 нет в лото: числа от 1 до %2").arg(t.value).arg(Loto::kMaxNomer));
            return;
        }
        const auto n = static_cast<std::size_t>(t.value);
        if (seenIn_[n] != 0) {
            Problem(t, QStringLiteral("число %1 уже было в туре %2").arg(t.value).arg(seenIn_[n]));
            return;
        }
        seenIn_[n] = result_.tours.back().tur;
        result_.tours.back().nomera.push_back(static_cast<qint32>(t.value));
    }

    void Tirag(const Token &t)
    {
        const QString digits = QString::number(t.value);
        if (result_.tirag.isEmpty()) {
            result_.tirag = digits;
            if (!setTirag_.isEmpty() && !SameNumber(digits, setTirag_))
                Problem(t, QStringLiteral("это тираж %1, а билеты на тираж %2").arg(digits, setTirag_));
        } else if (!SameNumber(digits, result_.tirag)) {
            Problem(t, QStringLiteral("назван ещё один тираж, %1").arg(digits));
        }
    }

    static bool SameNumber(const QString &a, const QString &b)
    {
        bool okA = false;
        bool okB = false;
        const qulonglong x = a.toULongLong(&okA);
        const qulonglong y = b.toULongLong(&okB);
        return okA && okB ? x == y : a == b;
    }

    void Check()
    {
        for (std::size_t i = 0; i < result_.tours.size(); ++i)
            if (result_.tours[i].nomera.empty())
                Problem(tourTokens_[i], QStringLiteral("в туре %1 нет чисел").arg(result_.tours[i].tur));
        if (result_.tours.empty() && result_.problems.empty())
            result_.problems.push_back(
                {1, 0, 0,
                 QStringLiteral("не найдено ни одного тура: ожидались строки вида «1 тур: 18, 45, 26…»")});
    }

    void Problem(const Token &t, const QString &what)
    {
        result_.problems.push_back({LineOf(lineStarts_, t.from), t.from, t.length, what});
    }

    const QString &text_;
    const QString setTirag_;
    PublishedResult result_;
    std::vector<qsizetype> lineStarts_;
    std::vector<Token> tourTokens_;
    std::array<int, Loto::kMaxNomer + 1> seenIn_{};
    bool collecting_ = false;
    bool outsideReported_ = false;
};

} // namespace

QString Decode(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return Cp1251::Decode(body);
}

PublishedResult Parse(const QString &text, const QString &setTirag)
{
    // No-break spaces, tabs and CR are no digits or letters: they only separate.
    return Reader(text, setTirag).Read();
}

} // namespace ResultText
