#pragma once
// Tickets as the reader gives them, and files that are no readable picture,
// for the tests of tickets from photos.

#include "app/PhotoImport.h"
#include "core/LotoRules.h"
#include "support/PngClaiming.h"
#include "support/WindowFixture.h"

#include <QFile>

namespace TestSupport
{

// The reader's answer for a ticket of these rows.
inline Scan::ScannedBilet Scanned(const Rows &rows, const QString &nomer,
                                  std::vector<Scan::Cell> doubtful = {}, bool nomerDoubtful = false,
                                  const QString &tirag = QStringLiteral("1234"))
{
    Scan::ScannedBilet b;
    for (int r = 0; r < 6; ++r)
        for (int n : rows[std::size_t(r)])
            b.cells[std::size_t(r)][std::size_t(Loto::ColumnOfNomer(n))] = n;
    b.doubtful = std::move(doubtful);
    b.nomer = nomer;
    b.nomerDoubtful = nomerDoubtful;
    b.tirag = tirag;
    b.tiragDoubtful = false;
    b.corners = {QPointF(10, 10), QPointF(90, 10), QPointF(90, 50), QPointF(10, 50)};
    return b;
}

// A picture read with these tickets (none: a picture the reader found nothing in).
inline PhotoImage Photo(std::vector<Scan::ScannedBilet> bilety, const QString &path = QStringLiteral("a.jpg"))
{
    PhotoImage photo;
    photo.path = path;
    photo.bilety = std::move(bilety);
    photo.preview = QImage(100, 60, QImage::Format_RGB32);
    photo.preview.fill(Qt::white);
    if (photo.bilety.empty())
        photo.image = photo.preview;
    return photo;
}

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Files that are no readable picture: empty, text, a huge picture, a picture cut in half.
inline QStringList BadPictures(const QTemporaryDir &dir)
{
    const QStringList paths{dir.filePath("пусто.jpg"), dir.filePath("заметки.png"),
                            dir.filePath("огромный.png"), dir.filePath("обрезан.png")};
    WriteBytes(paths[0], {});
    WriteBytes(paths[1], "Тираж № 1234\nnot a picture\n");
    WriteBytes(paths[2], PngClaiming(20000, 20000));
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.save(paths[3], "PNG");
    QFile cut(paths[3]);
    if (cut.open(QIODevice::ReadWrite))
        cut.resize(cut.size() / 2);
    return paths;
}

} // namespace TestSupport
