#pragma once
// Tickets read from photos, brought onto the card one after another. The
// pictures are read first (ReadPhoto, on any thread); the queue then holds every
// ticket found, in the order of the pictures and of the tickets in each, and a
// place for each picture where the reader found none, so that its corners can
// be clicked. The card is keyed in as a typed one: the queue only puts the
// numbers read onto it and says which cells are still as the reader doubted them.

#include "core/BiletEntry.h"
#include "scan/BiletScan.h"

#include <QImage>
#include <QString>
#include <vector>

// One picture as read.
struct PhotoImage {
    QString path;
    QString error; // why the file could not be read; empty when it was
    std::vector<Scan::ScannedBilet> bilety;
    // The picture at a size for the screen, and its pixels per pixel of the file's.
    QImage preview;
    double scale = 1.0;
    // The whole picture, kept only where no ticket was found: the reader tries
    // again inside the corners the user clicks. Elsewhere the file is loaded
    // again when he shows a ticket the reader missed.
    QImage image;
};

// Loads and reads one picture file; a file that is no readable picture gives its error.
PhotoImage ReadPhoto(const QString &path);

class PhotoImport
{
public:
    // A place in the queue: a ticket of a picture, or a picture without one (bilet -1).
    struct Item {
        int image = 0;
        int bilet = -1;
    };

    // The pictures read; the queue stands at its first place (if any).
    void Start(std::vector<PhotoImage> images);
    // The queue is given up: no ticket is in hand any more.
    void Stop();
    // A place of the queue is in hand.
    bool Active() const { return pos_ < items_.size(); }
    // Moves on to the next place; false when the queue is done.
    bool Next();

    // Places in the queue and the one in hand (0-based).
    int Count() const { return int(items_.size()); }
    int Position() const { return int(pos_); }
    const std::vector<PhotoImage> &Images() const { return images_; }
    // The picture of the place in hand; only while Active().
    const PhotoImage &CurrentImage() const { return images_[std::size_t(items_[pos_].image)]; }
    int CurrentBiletIndex() const { return Active() ? items_[pos_].bilet : -1; }
    // The ticket in hand; nothing while none is, or where the picture had none.
    const Scan::ScannedBilet *CurrentBilet() const;
    // The draw number read on the ticket in hand; empty when none was.
    QString BiletTirag() const;

    // Puts the numbers of the ticket in hand onto an empty card, row by row as
    // they would be typed, so Ctrl+Z and every rule of entry hold. A row that
    // cannot be completed from what was read (a number read twice, one out of
    // its column) stops it there and waits for the user. Returns the rows put
    // on whole.
    int PutOn(BiletEntry &entry);
    // After a change the user made to the card: once the waiting row is
    // complete, the rows read below it are put on too. True when they were.
    bool Continue(BiletEntry &entry);
    // Ctrl+Z (or Backspace after a number) on the card: the change that
    // completed a waiting row is taken back with the rows it brought on.
    // Returns the user's change taken back.
    std::optional<BiletEntry::Change> Undo(BiletEntry &entry);
    // The row that waits for the user to complete it (kStroki: none).
    int WaitingRow() const { return waiting_; }
    // The doubtful cells of the ticket in hand whose number on the card is
    // still the one read (an empty one too): what the user has yet to look at.
    std::vector<Scan::Cell> Doubts(const BiletEntry &entry) const;
    // The ticket number box holds the number as read and the reader doubted it
    // (or found none and the box is still empty).
    bool NomerDoubtful(const QString &nomer) const;

    // The draw number printed on the tickets: the one most tickets were
    // surely read with, else the one most were read with at all; doubtful
    // tells whether the one given was read with doubt.
    QString TiragNomer(bool *doubtful = nullptr) const;
    // Tickets found in all the pictures, and pictures read without a ticket.
    int BiletCount() const;
    int EmptyImages() const;

    // The reader found a ticket inside the corners clicked on the picture in
    // hand, which had none: it becomes the ticket in hand.
    void Found(Scan::ScannedBilet bilet);
    // The user sees a ticket on the picture in hand that the reader missed: a
    // place where its corners are clicked comes after the picture's tickets,
    // one for each time he says so. False where no ticket is in hand (its
    // place already waits for corners).
    bool AddMissed();

private:
    // Puts the rows from row on while each is completed; the row that waits, or kStroki.
    int PutRows(BiletEntry &entry, int row) const;

    std::vector<PhotoImage> images_;
    std::vector<Item> items_;
    std::size_t pos_ = 0;
    int waiting_ = 0;
    // The rows a completed waiting row brought on: the card's history from
    // the user's change to the last row put on, and the row that waited.
    struct Brought {
        std::size_t start = 0;
        std::size_t end = 0;
        int row = 0;
    };
    std::vector<Brought> brought_;
};
