// The least a draw checker has to do, written plainly: read a ticket file and a
// draw file, index the numbers, replay the draw with the tour rules and write
// the same JSON as zhrebikon-check --json. It is the yardstick the checker's
// speed and memory are measured against (scripts/check-vs-minimal.sh); it is
// no part of the program and knows nothing of its code.
//
// Deliberately simple: plain C++, no Qt, files read whole, no checks beyond
// what keeps it from crashing on the files the measurement gives it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

std::string ReadAll(const char *path)
{
    std::string bytes;
    if (FILE *f = std::fopen(path, "rb")) {
        std::fseek(f, 0, SEEK_END);
        bytes.resize(static_cast<std::size_t>(std::max(0L, std::ftell(f))));
        std::fseek(f, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

// Windows-1251 to UTF-8 for the letters a title holds.
std::string FromCp1251(const std::string &s)
{
    std::string out;
    for (unsigned char c : s) {
        unsigned u = c;
        if (c >= 0xC0)
            u = 0x410 + (c - 0xC0);
        else if (c == 0xA8)
            u = 0x401;
        else if (c == 0xB8)
            u = 0x451;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

struct Lines {
    const std::string &text;
    std::size_t pos = 0;
    bool Next(std::string_view &line)
    {
        if (pos >= text.size())
            return false;
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::size_t stop = end > pos && text[end - 1] == '\r' ? end - 1 : end;
        line = std::string_view(text).substr(pos, stop - pos);
        pos = end + 1;
        return true;
    }
};

int ToInt(std::string_view s)
{
    int v = 0;
    for (char c : s)
        if (c >= '0' && c <= '9')
            v = v * 10 + (c - '0');
    return v;
}

struct Ticket {
    std::string nomer;
    uint8_t n[30];
};

struct Counter {
    uint8_t row[6] = {};
    uint8_t field[2] = {};
    uint8_t max = 0;
    uint8_t awaitedShown = 0;
};

// The leading-space form of a number: " 7".
std::string Lead(int n)
{
    return " " + std::to_string(n);
}

struct Out {
    std::string s;
    void Str(const std::string &utf8)
    {
        s += '"';
        for (char c : utf8) {
            if (c == '"' || c == '\\')
                s += '\\';
            s += c;
        }
        s += '"';
    }
    void Int(long v) { s += std::to_string(v); }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: minimal-check TICKETS DRAW\n");
        return 2;
    }
    const std::string bil = ReadAll(argv[1]), trg = ReadAll(argv[2]);

    // Tickets.
    Lines lb{bil};
    std::string_view line;
    lb.Next(line);
    const std::string tiragTitle(line);
    lb.Next(line);
    const int count = ToInt(line) + 1;
    std::vector<Ticket> tickets(static_cast<std::size_t>(count));
    for (Ticket &t : tickets) {
        lb.Next(line);
        t.nomer = std::string(line);
        if (std::any_of(t.nomer.begin(), t.nomer.end(), [](char c) { return c & 0x80; }))
            t.nomer = FromCp1251(t.nomer);
        for (uint8_t &n : t.n) {
            lb.Next(line);
            n = static_cast<uint8_t>(ToInt(line));
        }
    }
    const std::string name = argv[1];
    const bool rusLoto = name.size() >= 4 && name.compare(name.size() - 4, 4, ".rlb") == 0;

    // Index: for each number, ticket*8+row in file order, by a counting sort.
    std::vector<uint32_t> start(92, 0);
    for (const Ticket &t : tickets)
        for (uint8_t n : t.n)
            ++start[n + 1];
    for (int n = 1; n < 92; ++n)
        start[n] += start[n - 1];
    std::vector<uint32_t> index(start[91]);
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (uint32_t t = 0; t < tickets.size(); ++t)
            for (int p = 0; p < 30; ++p)
                index[fill[tickets[t].n[p]]++] = t * 8 + p / 5;
    }

    // The draw.
    Lines lt{trg};
    lt.Next(line);
    const std::string drawTitle(line);
    std::vector<int> draw;
    while (lt.Next(line)) {
        std::size_t p = 0;
        while (p < line.size()) {
            std::size_t q = line.find(',', p);
            if (q == std::string_view::npos)
                q = line.size();
            std::string_view item = line.substr(p, q - p);
            if (item.find_first_of("0123456789") != std::string_view::npos)
                draw.push_back(ToInt(item));
            p = q + 1;
        }
    }

    // The replay.
    std::vector<Counter> sovp(tickets.size());
    std::vector<int> listCount(tickets.size(), 0), awaited(tickets.size(), 0);
    std::vector<char> lider(tickets.size(), 0);
    bool drawn[91] = {};
    std::vector<int> sequence;
    std::vector<std::pair<std::string, uint32_t>> winners;
    std::vector<std::string> messages;
    int tur = 1, hod = 0, liderMax = 0;
    // A ticket's count for the tour, and the leaders: a new highest count starts them afresh.
    auto counted = [&](std::size_t t, int count) {
        listCount[t] = count;
        if (count > liderMax) {
            liderMax = count;
            std::fill(lider.begin(), lider.end(), 0);
        }
        if (count == liderMax)
            lider[t] = 1;
    };
    auto firstUndrawn = [&](const Ticket &t, int from, int to) {
        for (int p = from; p < to; ++p)
            if (!drawn[t.n[p]])
                return int(t.n[p]);
        return 0;
    };
    auto nextTur = [&] {
        sequence.push_back(91);
        ++tur;
        std::fill(awaited.begin(), awaited.end(), 0);
        for (std::size_t t = 0; t < sovp.size(); ++t) {
            Counter &c = sovp[t];
            c.awaitedShown = 0;
            if (tur == 2) {
                c.field[0] = uint8_t(c.row[0] + c.row[1] + c.row[2]);
                c.field[1] = uint8_t(c.row[3] + c.row[4] + c.row[5]);
                c.max = std::max(c.field[0], c.field[1]);
            } else {
                c.max = uint8_t(c.field[0] + c.field[1]);
            }
            counted(t, c.max);
        }
    };
    for (std::size_t i = 0; i < draw.size(); ++i) {
        const int v = draw[i];
        if (v == 91) {
            if (tur < 3)
                nextTur();
            continue;
        }
        if (v == 93)
            break;
        if (v == 94) {
            const uint32_t t = static_cast<uint32_t>(draw[++i]);
            if (!sequence.empty() && sequence.back() == 93)
                sequence.pop_back(); // a prize after the end takes the end's place
            sequence.push_back(94);
            sequence.push_back(static_cast<int>(t));
            winners.push_back({"(Приз!!!) ", t});
            messages.push_back("Билет номер " + tickets[t].nomer + " выиграл приз!!!");
            continue;
        }
        ++hod;
        sequence.push_back(v);
        drawn[v] = true;
        const int threshold = tur == 1 ? 4 : tur == 2 ? 14 : 29;
        int won = 0;
        for (uint32_t j = start[v]; j < start[v + 1]; ++j) {
            const uint32_t t = index[j] >> 3, r = index[j] & 7;
            Counter &c = sovp[t];
            if (tur == 1) {
                if (++c.row[r] > c.max)
                    c.max = c.row[r];
            } else {
                const uint8_t f = ++c.field[r < 3 ? 0 : 1];
                if (tur == 3)
                    ++c.max;
                else if (f > c.max)
                    c.max = f;
            }
            counted(t, c.max);
            const int d = c.max - threshold;
            if (d == 1) {
                awaited[t] = 0;
                winners.push_back({"(номер" + Lead(v) + ")  ", t});
                ++won;
            } else if (d == 0 && !c.awaitedShown) {
                c.awaitedShown = 1;
                const Ticket &tk = tickets[t];
                awaited[t] = tur == 1 ? firstUndrawn(tk, int(r) * 5, int(r) * 5 + 5)
                             : tur == 2
                                 ? (c.field[0] == 14 ? firstUndrawn(tk, 0, 15) : firstUndrawn(tk, 15, 30))
                                 : firstUndrawn(tk, 0, 30);
            }
        }
        if (won > 0) {
            messages.push_back("Количество выигравших билетов:" + Lead(won));
            if (tur < 3)
                nextTur();
        }
    }
    // The end: undrawn numbers, the jackpot, the end marker.
    std::string undrawn;
    for (int k = 1; k <= 90; ++k)
        if (!drawn[k])
            undrawn += (undrawn.empty() ? "" : ",") + Lead(k);
    if (rusLoto)
        for (uint32_t t = 0; t < sovp.size(); ++t) {
            const Counter &c = sovp[t];
            if (30 - c.max == 90 - hod && (c.field[0] == 15 || c.field[1] == 15)) {
                winners.push_back({"(КУБЫШКА)  ", t});
                messages.push_back("Билет номер " + tickets[t].nomer + " выиграл КУБЫШКУ!!!");
            }
        }
    sequence.push_back(93);

    // The JSON.
    Out o;
    o.s.reserve(64 * (winners.size() + messages.size()) + 8 * tickets.size() + 4096);
    o.s += "{\n  \"game\": ";
    o.Str((rusLoto ? "Русское лото - " : "Золотой ключ - ") + FromCp1251(tiragTitle));
    o.s += ",\n  \"draw\": ";
    o.Str(FromCp1251(drawTitle));
    o.s += ",\n  \"moves\": ";
    o.Int(hod);
    o.s += ",\n  \"tour\": ";
    o.Int(tur);
    o.s += ",\n  \"winners\": ";
    o.s += winners.empty() ? "[]" : "[\n";
    for (std::size_t i = 0; i < winners.size(); ++i) {
        const std::string &nomer = tickets[winners[i].second].nomer;
        o.s += i == 0 ? "    " : ",\n    ";
        o.s += "{\"line\": ";
        o.Str(winners[i].first + nomer);
        o.s += ", \"ticket\": ";
        o.Int(winners[i].second);
        o.s += ", \"number\": ";
        o.Str(nomer);
        o.s += "}";
    }
    if (!winners.empty())
        o.s += "\n  ]";
    o.s += ",\n  \"messages\": ";
    o.s += messages.empty() ? "[]" : "[\n";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        o.s += i == 0 ? "    " : ",\n    ";
        o.s += "{\"title\": \"Радостная весть!\", \"text\": ";
        o.Str(messages[i]);
        o.s += "}";
    }
    if (!messages.empty())
        o.s += "\n  ]";
    o.s += ",\n  \"undrawn\": ";
    o.Str(undrawn);
    auto ints = [&](const char *key, const std::vector<int> &v) {
        o.s += ",\n  \"";
        o.s += key;
        o.s += "\": [";
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i > 0)
                o.s += ", ";
            o.Int(v[i]);
        }
        o.s += "]";
    };
    ints("sequence", sequence);
    ints("counts", listCount);
    std::vector<int> leaders;
    for (std::size_t t = 0; t < lider.size(); ++t)
        if (lider[t])
            leaders.push_back(int(t));
    ints("leaders", leaders);
    o.s += ",\n  \"awaited\": ";
    bool any = false;
    for (std::size_t t = 0; t < awaited.size(); ++t)
        if (awaited[t] != 0) {
            o.s += any ? ",\n    " : "[\n    ";
            any = true;
            o.s += "{\"ticket\": ";
            o.Int(long(t));
            o.s += ", \"number\": ";
            o.Int(awaited[t]);
            o.s += "}";
        }
    o.s += any ? "\n  ]" : "[]";
    o.s += "\n}\n";
    std::fwrite(o.s.data(), 1, o.s.size(), stdout);
    return 0;
}
