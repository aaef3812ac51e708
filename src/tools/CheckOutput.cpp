// The checker's report as JSON and as text.
//
// The JSON is written straight out as text. Qt's JSON classes first build a
// document tree and then grow the output string by string: for 100,000
// tickets and a full draw (200,000 winners' lines, 100,000 jackpot boxes) that
// took longer than reading, indexing and replaying together.
#include "tools/Checker.h"

#include <QStringEncoder>
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace Check
{
namespace
{

// UTF-8 text handed to a sink in pieces of about kPiece bytes, so that a
// report of any size passes through one small buffer.
class Utf8Text
{
public:
    explicit Utf8Text(const Sink &sink) : sink_(sink) { out_.reserve(kPiece + kPiece / 4); }
    ~Utf8Text() { Flush(); }
    Utf8Text(const Utf8Text &) = delete;
    Utf8Text &operator=(const Utf8Text &) = delete;

    // Called between items: passes the buffer on once it is full enough.
    void Checkpoint()
    {
        if (out_.size() >= kPiece)
            Flush();
    }

    Utf8Text &Raw(std::string_view ascii)
    {
        out_.append(ascii);
        return *this;
    }

    Utf8Text &Int(qint64 value)
    {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        out_.append(digits, static_cast<std::size_t>(result.ptr - digits));
        return *this;
    }

    // The text as it is.
    Utf8Text &Plain(const QString &text)
    {
        Encode(text);
        return *this;
    }

    // The text (and a second piece after it) as one JSON string: quoted, with
    // quotes, backslashes and control characters escaped.
    Utf8Text &Quoted(const QString &text, const QString &more = QString())
    {
        out_.push_back('"');
        const std::size_t start = Encode(text);
        if (!more.isEmpty())
            Encode(more);
        const auto needsEscape = [](char c) { return c == '"' || c == '\\' || static_cast<uchar>(c) < 0x20; };
        if (std::any_of(out_.cbegin() + static_cast<std::ptrdiff_t>(start), out_.cend(), needsEscape)) {
            // Rare in ticket numbers and titles: redo this string byte by byte.
            const std::string plain = out_.substr(start);
            out_.resize(start);
            for (char c : plain)
                Escape(c);
        }
        out_.push_back('"');
        return *this;
    }

    // UTF-8 text as a JSON string.
    Utf8Text &QuotedUtf8(std::string_view utf8)
    {
        out_.push_back('"');
        for (char c : utf8)
            Escape(c);
        out_.push_back('"');
        return *this;
    }

private:
    static constexpr std::size_t kPiece = 1 << 20;

    void Flush()
    {
        if (out_.empty())
            return;
        sink_(QByteArrayView(out_.data(), static_cast<qsizetype>(out_.size())));
        out_.clear(); // keeps the buffer for the next piece
    }

    // Appends text as UTF-8; returns where it starts in the buffer.
    std::size_t Encode(const QString &text)
    {
        const std::size_t start = out_.size();
        const std::size_t length = static_cast<std::size_t>(text.size());
        const QChar *units = text.constData();
        // Ticket numbers, prefixes and titles are short and mostly ASCII or
        // Cyrillic: one or two bytes a unit, written here directly, since
        // the encoder's set-up costs more than such a string. Anything beyond
        // the Basic Multilingual Plane's first 2,048 units goes to the encoder.
        out_.resize(start + 2 * length);
        char *to = out_.data() + start;
        for (std::size_t i = 0; i < length; ++i) {
            const char16_t u = units[i].unicode();
            if (u < 0x80) {
                *to++ = static_cast<char>(u);
            } else if (u < 0x800) {
                *to++ = static_cast<char>(0xC0 | (u >> 6));
                *to++ = static_cast<char>(0x80 | (u & 0x3F));
            } else {
                out_.resize(start + static_cast<std::size_t>(utf8_.requiredSpace(text.size())));
                const char *end = utf8_.appendToBuffer(out_.data() + start, text);
                out_.resize(static_cast<std::size_t>(end - out_.data()));
                return start;
            }
        }
        out_.resize(static_cast<std::size_t>(to - out_.data()));
        return start;
    }

    void Escape(char c)
    {
        switch (c) {
        case '"':
            Raw("\\\"");
            return;
        case '\\':
            Raw("\\\\");
            return;
        case '\b':
            Raw("\\b");
            return;
        case '\f':
            Raw("\\f");
            return;
        case '\n':
            Raw("\\n");
            return;
        case '\r':
            Raw("\\r");
            return;
        case '\t':
            Raw("\\t");
            return;
        default:
            break;
        }
        if (static_cast<uchar>(c) >= 0x20) {
            out_.push_back(c);
            return;
        }
        constexpr char kHex[] = "0123456789abcdef";
        const char code[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xf], kHex[c & 0xf]};
        out_.append(code, sizeof code);
    }

    const Sink &sink_;
    std::string out_;
    // Every string is whole, so no state is carried from one to the next.
    QStringEncoder utf8_{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

// Room for the longest UTF-8 form of everything in the report, so that
// collecting the pieces never copies what is already there.
qsizetype Capacity(const Report &report)
{
    constexpr qsizetype kPerChar = 3; // UTF-16 unit to UTF-8 bytes, at most
    constexpr qsizetype kPerInt = 16; // digits, sign and separator
    constexpr qsizetype kPerObject = 64;
    qsizetype size = 512 + kPerChar * (report.game.size() + report.draw.size() + report.undrawn.size());
    for (std::size_t i = 0; i < report.winners.size(); ++i)
        size += kPerObject + kPerInt +
                kPerChar * (report.winners.Prefix(i).size() + 2 * report.winners.Number(i).size());
    for (std::size_t i = 0; i < report.messages.size(); ++i)
        size += kPerObject + kPerChar * report.messages.Title(i).size() +
                2 * static_cast<qsizetype>(report.messages.Text(i).size());
    size += kPerInt *
            static_cast<qsizetype>(report.sequence.size() + report.counts.size() + report.leaders.size());
    size += (kPerObject + 2 * kPerInt) * static_cast<qsizetype>(report.awaited.size());
    return size;
}

// An array of objects, one a line, under a key of the top object.
template <typename Item, typename WriteItem>
void ObjectArray(Utf8Text &json, const std::vector<Item> &items, WriteItem writeItem)
{
    if (items.empty()) {
        json.Raw("[]");
        return;
    }
    json.Raw("[\n");
    for (std::size_t i = 0; i < items.size(); ++i) {
        json.Raw(i == 0 ? "    " : ",\n    ");
        writeItem(items[i]);
        json.Checkpoint();
    }
    json.Raw("\n  ]");
}

void IntArray(Utf8Text &json, const std::vector<qint32> &values)
{
    json.Raw("[");
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            json.Raw(", ");
        json.Int(values[i]);
        json.Checkpoint();
    }
    json.Raw("]");
}

} // namespace

void WriteJson(const Report &report, const Sink &sink)
{
    Utf8Text json(sink);
    json.Raw("{\n  \"game\": ").Quoted(report.game);
    json.Raw(",\n  \"draw\": ").Quoted(report.draw);
    if (!report.warning.isEmpty())
        json.Raw(",\n  \"warning\": ").Quoted(report.warning);
    json.Raw(",\n  \"moves\": ").Int(report.moves);
    json.Raw(",\n  \"tour\": ").Int(report.tour);
    json.Raw(",\n  \"winners\": ");
    const Winners &winners = report.winners;
    if (winners.empty()) {
        json.Raw("[]");
    } else {
        json.Raw("[\n");
        for (std::size_t i = 0; i < winners.size(); ++i) {
            json.Raw(i == 0 ? "    " : ",\n    ");
            json.Raw("{\"line\": ").Quoted(winners.Prefix(i), winners.Number(i));
            json.Raw(", \"ticket\": ").Int(winners.Ticket(i));
            json.Raw(", \"number\": ").Quoted(winners.Number(i)).Raw("}");
            json.Checkpoint();
        }
        json.Raw("\n  ]");
    }
    json.Raw(",\n  \"messages\": ");
    if (report.messages.empty()) {
        json.Raw("[]");
    } else {
        json.Raw("[\n");
        for (std::size_t i = 0; i < report.messages.size(); ++i) {
            json.Raw(i == 0 ? "    " : ",\n    ");
            json.Raw("{\"title\": ").Quoted(report.messages.Title(i));
            json.Raw(", \"text\": ").QuotedUtf8(report.messages.Text(i)).Raw("}");
            json.Checkpoint();
        }
        json.Raw("\n  ]");
    }
    json.Raw(",\n  \"undrawn\": ").Quoted(report.undrawn);
    json.Raw(",\n  \"sequence\": ");
    IntArray(json, report.sequence);
    json.Raw(",\n  \"counts\": ");
    IntArray(json, report.counts);
    json.Raw(",\n  \"leaders\": ");
    IntArray(json, report.leaders);
    json.Raw(",\n  \"awaited\": ");
    ObjectArray(json, report.awaited, [&json](const std::pair<qint32, qint32> &a) {
        json.Raw("{\"ticket\": ").Int(a.first);
        json.Raw(", \"number\": ").Int(a.second).Raw("}");
    });
    json.Raw("\n}\n");
}

void WriteText(const Report &report, const Sink &sink)
{
    Utf8Text text(sink);
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        text.Plain(report.messages.Title(i)).Raw(": ").Raw(report.messages.Text(i)).Raw("\n");
        text.Checkpoint();
    }
    if (!report.messages.empty() && !report.winners.empty())
        text.Raw("\n");
    for (std::size_t i = 0; i < report.winners.size(); ++i) {
        text.Plain(report.winners.Prefix(i)).Plain(report.winners.Number(i)).Raw("\n");
        text.Checkpoint();
    }
}

QByteArray ToJson(const Report &report)
{
    QByteArray whole;
    whole.reserve(Capacity(report));
    WriteJson(report, [&whole](QByteArrayView piece) { whole.append(piece); });
    return whole;
}

} // namespace Check
