#include "app/PhotoImport.h"

#include "core/LotoRules.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

// The longest side of the picture kept for the screen.
constexpr int kPreviewSide = 1600;

bool IsDrawNumber(const QString &digits)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,6}$"));
    return number.match(digits).hasMatch();
}

} // namespace

PhotoImage ReadPhoto(const QString &path)
{
    PhotoImage photo;
    photo.path = path;
    std::optional<QImage> image = Scan::LoadImage(path, &photo.error);
    if (!image || image->isNull()) {
        if (photo.error.isEmpty())
            photo.error = QStringLiteral("Файл открыть не возможно.");
        return photo;
    }
    photo.error.clear();
    photo.bilety = Scan::ReadBilety(*image);
    photo.preview =
        std::max(image->width(), image->height()) > kPreviewSide
            ? image->scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : *image;
    photo.scale = double(photo.preview.width()) / image->width();
    if (photo.bilety.empty())
        photo.image = std::move(*image);
    return photo;
}

void PhotoImport::Start(std::vector<PhotoImage> images)
{
    images_ = std::move(images);
    items_.clear();
    pos_ = 0;
    waiting_ = 0;
    brought_.clear();
    for (std::size_t i = 0; i < images_.size(); ++i) {
        const PhotoImage &photo = images_[i];
        if (!photo.error.isEmpty())
            continue;
        if (photo.bilety.empty())
            items_.push_back({int(i), -1});
        for (std::size_t b = 0; b < photo.bilety.size(); ++b)
            items_.push_back({int(i), int(b)});
    }
}

bool PhotoImport::AddMissed()
{
    if (!Active() || items_[pos_].bilet < 0)
        return false;
    const int image = items_[pos_].image;
    std::size_t at = pos_ + 1;
    while (at < items_.size() && items_[at].image == image)
        ++at;
    items_.insert(items_.begin() + std::ptrdiff_t(at), Item{image, -1});
    return true;
}

void PhotoImport::Stop()
{
    images_.clear();
    items_.clear();
    pos_ = 0;
    waiting_ = 0;
    brought_.clear();
}

bool PhotoImport::Next()
{
    if (Active())
        ++pos_;
    waiting_ = 0;
    brought_.clear();
    if (Active())
        return true;
    Stop();
    return false;
}

const Scan::ScannedBilet *PhotoImport::CurrentBilet() const
{
    const int b = CurrentBiletIndex();
    if (b < 0)
        return nullptr;
    return &CurrentImage().bilety[std::size_t(b)];
}

int PhotoImport::PutOn(BiletEntry &entry)
{
    brought_.clear();
    waiting_ = CurrentBilet() ? PutRows(entry, 0) : 0;
    return waiting_;
}

bool PhotoImport::Continue(BiletEntry &entry)
{
    if (!CurrentBilet() || waiting_ >= Loto::kStroki || entry.History().empty() ||
        entry.StrokaCount(waiting_) != Loto::kNomeraPerStroka || entry.CurStroka() != waiting_ + 1)
        return false;
    // The rows below are empty: nothing could be typed there while the row waited.
    for (int r = waiting_ + 1; r < Loto::kStroki; ++r)
        if (entry.StrokaCount(r) != 0)
            return false;
    Brought brought{entry.History().size() - 1, 0, waiting_};
    waiting_ = PutRows(entry, waiting_ + 1);
    brought.end = entry.History().size();
    brought_.push_back(brought);
    return true;
}

std::optional<BiletEntry::Change> PhotoImport::Undo(BiletEntry &entry)
{
    if (brought_.empty() || entry.History().size() != brought_.back().end)
        return entry.Undo();
    const Brought brought = brought_.back();
    brought_.pop_back();
    std::optional<BiletEntry::Change> last;
    while (entry.History().size() > brought.start)
        last = entry.Undo();
    waiting_ = brought.row;
    return last;
}

int PhotoImport::PutRows(BiletEntry &entry, int row) const
{
    const Scan::ScannedBilet *bilet = CurrentBilet();
    for (int r = row; r < Loto::kStroki; ++r) {
        for (int c = 0; c < Loto::kColumns && entry.CurStroka() == r; ++c) {
            const int n = bilet->cells[std::size_t(r)][std::size_t(c)];
            // A number on the card already would be taken off by a second toggle.
            if (n >= 1 && n <= Loto::kMaxNomer && Loto::ColumnOfNomer(n) == c && !entry.OnCard(n))
                entry.Toggle(n);
        }
        if (entry.CurStroka() == r)
            return r; // this row waits for the user
    }
    return Loto::kStroki;
}

std::vector<Scan::Cell> PhotoImport::Doubts(const BiletEntry &entry) const
{
    std::vector<Scan::Cell> doubts;
    const Scan::ScannedBilet *bilet = CurrentBilet();
    if (!bilet)
        return doubts;
    for (const Scan::Cell &cell : bilet->doubtful) {
        if (cell.row < 0 || cell.row >= Loto::kStroki || cell.col < 0 || cell.col >= Loto::kColumns)
            continue;
        if (entry.Kletka(cell.row, cell.col) == bilet->cells[std::size_t(cell.row)][std::size_t(cell.col)])
            doubts.push_back(cell);
    }
    return doubts;
}

bool PhotoImport::NomerDoubtful(const QString &nomer) const
{
    const Scan::ScannedBilet *bilet = CurrentBilet();
    return bilet && (bilet->nomerDoubtful || bilet->nomer.isEmpty()) && nomer == bilet->nomer;
}

QString PhotoImport::BiletTirag() const
{
    const Scan::ScannedBilet *bilet = CurrentBilet();
    return bilet && IsDrawNumber(bilet->tirag) ? bilet->tirag : QString();
}

QString PhotoImport::TiragNomer(bool *doubtful) const
{
    // Tickets bought together are of one draw: the one read on most of them
    // wins, so that the first ticket's misreading does not stand for all.
    // Only surely read ones count while there are any; a tie goes to the
    // one read first.
    struct Count {
        QString tirag;
        int sure = 0, doubted = 0;
    };
    std::vector<Count> counts;
    for (const PhotoImage &photo : images_)
        for (const Scan::ScannedBilet &bilet : photo.bilety) {
            if (!IsDrawNumber(bilet.tirag))
                continue;
            auto count = std::find_if(counts.begin(), counts.end(),
                                      [&](const Count &c) { return c.tirag == bilet.tirag; });
            if (count == counts.end())
                count = counts.insert(counts.end(), Count{bilet.tirag});
            ++(bilet.tiragDoubtful ? count->doubted : count->sure);
        }
    const bool anySure = std::any_of(counts.begin(), counts.end(), [](const Count &c) { return c.sure > 0; });
    const Count *best = nullptr;
    for (const Count &c : counts) {
        const int votes = anySure ? c.sure : c.doubted;
        if (votes > 0 && (!best || votes > (anySure ? best->sure : best->doubted)))
            best = &c;
    }
    if (doubtful)
        *doubtful = best && !anySure;
    return best ? best->tirag : QString();
}

int PhotoImport::BiletCount() const
{
    int count = 0;
    for (const PhotoImage &photo : images_)
        count += int(photo.bilety.size());
    return count;
}

int PhotoImport::EmptyImages() const
{
    int count = 0;
    for (const PhotoImage &photo : images_)
        count += photo.error.isEmpty() && photo.bilety.empty();
    return count;
}

void PhotoImport::Found(Scan::ScannedBilet bilet)
{
    if (!Active() || items_[pos_].bilet >= 0)
        return;
    PhotoImage &photo = images_[std::size_t(items_[pos_].image)];
    photo.bilety.push_back(std::move(bilet));
    items_[pos_].bilet = int(photo.bilety.size()) - 1;
}
