// Tickets from photos: the pictures are read off the window's thread, and each
// ticket found comes onto the card in ticket entry as if it had been typed,
// with the cells the reader doubted marked, and its photo in a window beside.
#include "app/frmForma.h"

#include "controls/DoubtMark.h"
#include "core/LotoRules.h"
#include "dialogs/Zapros.h"
#include "io/DeskSettings.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScreen>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace
{

const QString kPhotoTitle = QStringLiteral("Билеты со снимка");

} // namespace

frmForma::PhotoPicker &frmForma::PickPhotos()
{
    static PhotoPicker picker = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileNames(
            parent, kPhotoTitle, folder,
            QStringLiteral("Снимки (*.jpg *.jpeg *.png *.bmp *.tif *.tiff *.webp *.gif *.JPG *.JPEG *.PNG);;"
                           "Все файлы (*)"));
    };
    return picker;
}

void frmForma::FilePhoto_Click()
{
    if (PhotoReading())
        return;
    QString folder = DeskSettings::LastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = files_.Folder();
    const QStringList paths = PickPhotos()(this, folder);
    if (paths.isEmpty())
        return;
    DeskSettings::SetLastFolder(QFileInfo(paths.first()).absolutePath());
    ImportPhotos(paths);
}

void frmForma::ImportPhotos(const QStringList &paths)
{
    if (paths.isEmpty() || photoWatcher_)
        return;
    auto *watcher = new QFutureWatcher<PhotoImage>(this);
    photoWatcher_ = watcher;
    auto *progress = new QProgressDialog(this);
    progress->setObjectName(QStringLiteral("PhotoProgress"));
    progress->setWindowTitle(kPhotoTitle);
    progress->setMinimumWidth(380); // room for the title and the file's name
    progress->setLabelText(QStringLiteral("Чтение снимков…"));
    progress->setCancelButtonText(QStringLiteral("Отмена"));
    progress->setRange(0, int(paths.size()));
    progress->setValue(0);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    // The window is repainted and answers while the pictures are read, but
    // takes no command until they are.
    progress->setWindowModality(Qt::WindowModal);
    connect(watcher, &QFutureWatcherBase::progressValueChanged, progress, &QProgressDialog::setValue);
    connect(watcher, &QFutureWatcherBase::progressTextChanged, progress, &QProgressDialog::setLabelText);
    // Cancelled, nothing changes: what is read already is thrown away, and the
    // picture being read is left to finish on its own.
    connect(progress, &QProgressDialog::canceled, this, [this, watcher, progress] {
        if (photoWatcher_ != watcher)
            return;
        photoWatcher_ = nullptr;
        watcher->disconnect(this);
        watcher->cancel();
        progress->hide();
        progress->deleteLater();
        connect(watcher, &QFutureWatcherBase::finished, watcher, &QObject::deleteLater);
        if (watcher->isFinished())
            watcher->deleteLater();
    });
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, progress] {
        if (photoWatcher_ != watcher)
            return;
        photoWatcher_ = nullptr;
        progress->disconnect(this);
        progress->hide();
        progress->deleteLater();
        watcher->deleteLater();
        if (watcher->isCanceled())
            return;
        const QList<PhotoImage> results = watcher->future().results();
        PhotosRead(std::vector<PhotoImage>(results.begin(), results.end()));
    });
    watcher->setFuture(QtConcurrent::run([paths](QPromise<PhotoImage> &promise) {
        const int count = int(paths.size());
        promise.setProgressRange(0, count);
        for (int i = 0; i < count; ++i) {
            if (promise.isCanceled())
                return;
            promise.setProgressValueAndText(i, QStringLiteral("Снимок %1 из %2: %3")
                                                   .arg(i + 1)
                                                   .arg(count)
                                                   .arg(QFileInfo(paths[i]).fileName()));
            promise.addResult(ReadPhoto(paths[i]));
        }
        promise.setProgressValue(count);
    }));
    progress->show();
}

void frmForma::PhotosRead(std::vector<PhotoImage> images)
{
    PhotoImport queue;
    queue.Start(std::move(images));
    QStringList errors;
    for (const PhotoImage &photo : queue.Images())
        if (!photo.error.isEmpty())
            errors << photo.error; // it names the file
    if (!errors.isEmpty())
        messenger_.Tell((errors.size() == 1 ? QStringLiteral("Снимок не прочитан.\n")
                                            : QStringLiteral("Снимки не прочитаны.\n")) +
                            errors.join(QLatin1Char('\n')),
                        MsgIcon::Warning, kPhotoTitle);
    if (queue.BiletCount() == 0) {
        if (queue.EmptyImages() == 0)
            return;
        // A picture of something else gives no ticket; one the reader missed
        // can still be shown to it by its corners.
        MessageRequest q;
        q.title = kPhotoTitle;
        q.text = QStringLiteral("На снимке не найдено ни одного билета.\n"
                                "Указать четыре угла билета на снимке щелчками?");
        q.buttons = MsgButtons::YesNo;
        q.defaultButton = MsgAnswer::No;
        if (messenger_.Show(q) != MsgAnswer::Yes)
            return;
    }
    bool tiragDoubtful = false;
    const QString tirag = queue.TiragNomer(&tiragDoubtful);
    if (!PhotoSet(tirag, tiragDoubtful))
        return;
    photos_ = std::move(queue);
    EnablePhotoKeys(true);
    PhotoBilet();
}

bool frmForma::PhotoSet(const QString &tirag, bool tiragDoubtful)
{
    BiletStore &store = state_.store;
    if (state_.RegimState == Rezhim::Zagruzka) {
        // A ticket half typed is not thrown away unasked; a ticket of the list
        // being corrected stays as it was, as with Esc.
        bool typed = false;
        for (int k = 0; k < Loto::kKletki && !typed; ++k)
            typed = entry.Kletka(k) != 0;
        if (typed && !photoOnCard_ && store.CurBilet() >= store.BiletCount()) {
            MessageRequest q;
            q.title = kPhotoTitle;
            q.text = QStringLiteral("Билет на карточке не дописан.\nЗаменить его билетом со снимка?");
            q.buttons = MsgButtons::YesNo;
            q.defaultButton = MsgAnswer::No;
            return messenger_.Show(q) == MsgAnswer::Yes;
        }
        return true;
    }
    if (store.BiletCount() > 0) {
        // The set in hand gets the tickets, as with "Добавить билеты".
        RegimAddBliet_Click();
        return state_.RegimState == Rezhim::Zagruzka;
    }
    // No set in hand: a new one, as "Создать" makes it, for the draw on the photo.
    if (!MaySaveBilety())
        return false;
    const auto choice = Zapros::Ask(this, tirag, tiragDoubtful);
    if (!choice)
        return false;
    FileNewBilet2(*choice->first, choice->second);
    return true;
}

void frmForma::PhotoBilet()
{
    BiletNew();
    ++photoSerial_;
    if (!photos_.Active()) {
        PhotoStop();
        return;
    }
    const PhotoImage &photo = photos_.CurrentImage();
    const Scan::ScannedBilet *bilet = photos_.CurrentBilet();
    photoOnCard_ = true;
    if (bilet) {
        photos_.PutOn(entry);
        RepaintEntry();
        Nombilet->setText(bilet->nomer);
        if (!bilet->nomer.isEmpty())
            if (const qint32 twin = BiletEntry::Twin(state_.store, bilet->nomer); twin >= 0)
                entryNote_ = TwinNote(bilet->nomer, twin);
    }
    UpdateNombiletDoubt();
    // The keyboard goes where the user has to look first: a ticket number the
    // reader doubted, else the numbers (Enter, Enter stores a whole ticket).
    if (photos_.NomerDoubtful(Nombilet->text())) {
        Nombilet->setFocus();
        Nombilet->selectAll();
    } else {
        VVOD1->setFocus();
    }

    if (!photoPanel_) {
        photoPanel_ = new PhotoPanel(this);
        connect(photoPanel_, &PhotoPanel::SkipRequested, this, [this] { PhotoNext(); });
        connect(photoPanel_, &PhotoPanel::MissedRequested, this, [this] { PhotoMissed(); });
        connect(photoPanel_, &PhotoPanel::StopRequested, this,
                [this] { PhotoStop(QStringLiteral("Ввод со снимков закончен")); });
        connect(photoPanel_, &PhotoPanel::CornersPicked, this,
                [this](const PhotoPanel::Corners &corners) { PhotoCorners(corners); });
    }
    std::vector<PhotoPanel::Corners> grids;
    for (const Scan::ScannedBilet &b : photo.bilety)
        grids.push_back(b.corners);
    photoPanel_->Show(photo.preview, photo.scale, grids, photos_.CurrentBiletIndex(), PhotoCaption(), !bilet);
    if (!photoPanel_->isVisible()) {
        // Beside the main window, on the side the screen has more room on,
        // as wide as that room allows.
        constexpr int kGap = 8, kWidest = 560, kNarrowest = 320;
        const QRect frame = frameGeometry();
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        const int right = screen.isEmpty() ? kWidest : screen.right() - frame.right() - kGap;
        const int left = screen.isEmpty() ? 0 : frame.left() - screen.left() - kGap;
        const bool onRight = right >= kWidest || right >= left;
        const int width = std::clamp(onRight ? right : left, kNarrowest, kWidest);
        photoPanel_->resize(width, std::max(frame.height(), 400));
        photoPanel_->move(onRight ? frame.right() + kGap : frame.left() - kGap - width, frame.top());
        photoPanel_->show();
        activateWindow();
    }
    UpdateUndo();
    UpdateStrip();
}

void frmForma::EnablePhotoKeys(bool on)
{
    for (QAction *a : {photoSkip_, photoStop_, photoMissed_})
        if (a)
            a->setEnabled(on);
}

QString frmForma::PhotoCaption() const
{
    const QString name = QFileInfo(photos_.CurrentImage().path).fileName();
    return photos_.CurrentBilet() ? QStringLiteral("%1 — билет %2 из %3")
                                        .arg(name)
                                        .arg(photos_.Position() + 1)
                                        .arg(photos_.Count())
                                  : QStringLiteral("%1: билет не найден. Щёлкните четыре угла его сетки "
                                                   "(правая кнопка убирает последний), F9 — дальше")
                                        .arg(name);
}

void frmForma::PhotoMissed()
{
    // The ticket in hand stays on the card with what the user changed on it.
    if (!photos_.AddMissed())
        return;
    if (photoPanel_)
        photoPanel_->SetCaption(PhotoCaption());
    entryNote_ = QStringLiteral("После билетов этого снимка щёлкните четыре угла пропущенного");
    UpdateStrip();
}

void frmForma::PhotoNext()
{
    if (!photos_.Active())
        return;
    if (photos_.Next())
        PhotoBilet();
    else
        PhotoStop(QStringLiteral("Все билеты со снимков пройдены"));
}

void frmForma::PhotoStop(const QString &note)
{
    // The keys of the import are on exactly while it runs.
    const bool wasActive = photoSkip_ && photoSkip_->isEnabled();
    photos_.Stop();
    ++photoSerial_;
    photoCornerRead_ = false;
    photoOnCard_ = false;
    EnablePhotoKeys(false);
    if (photoPanel_)
        photoPanel_->hide();
    if (!wasActive)
        return;
    UpdateNombiletDoubt();
    if (state_.RegimState == Rezhim::Zagruzka) {
        // The card keeps what it holds, as a typed one, without the marks.
        RepaintEntry();
        if (!note.isEmpty())
            entryNote_ = note;
        UpdateStrip();
    }
}

void frmForma::PhotoCorners(const PhotoPanel::Corners &corners)
{
    if (!photos_.Active() || photos_.CurrentBilet() || photoCornerRead_)
        return;
    // The whole picture is kept only where no ticket was found; for a ticket
    // the reader missed beside others it is loaded again.
    const QImage image = photos_.CurrentImage().image;
    const QString path = photos_.CurrentImage().path;
    const int serial = photoSerial_;
    const QString caption = photoPanel_->Caption();
    photoCornerRead_ = true;
    photoPanel_->SetBusy(true);
    photoPanel_->SetCaption(QStringLiteral("Ищу билет в этих углах…"));
    auto *watcher = new QFutureWatcher<std::optional<Scan::ScannedBilet>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial, caption] {
        watcher->deleteLater();
        if (serial != photoSerial_)
            return; // the user went on meanwhile
        photoCornerRead_ = false;
        const std::optional<Scan::ScannedBilet> found = watcher->result();
        if (found) {
            photos_.Found(*found);
            PhotoBilet();
            return;
        }
        photoPanel_->SetBusy(false);
        photoPanel_->ResetCorners();
        photoPanel_->SetCaption(caption);
        messenger_.Tell(QStringLiteral("В этих углах билет прочитать не удалось.\n"
                                       "Щёлкните углы сетки билета ещё раз."),
                        MsgIcon::Warning, kPhotoTitle);
    });
    watcher->setFuture(QtConcurrent::run([image, path, corners]() -> std::optional<Scan::ScannedBilet> {
        QString error;
        const std::optional<QImage> whole = image.isNull() ? Scan::LoadImage(path, &error) : image;
        if (!whole || whole->isNull())
            return std::nullopt;
        return Scan::ReadBiletAt(*whole, corners);
    }));
}

std::optional<BiletEntry::Change> frmForma::UndoEntry()
{
    return photoOnCard_ ? photos_.Undo(entry) : entry.Undo();
}

void frmForma::PaintDoubts()
{
    if (!photoOnCard_ || state_.RegimState != Rezhim::Zagruzka)
        return;
    std::vector<BiletCard::Place> doubts;
    for (const Scan::Cell &cell : photos_.Doubts(entry))
        doubts.push_back({cell.row, cell.col});
    card_->MarkDoubts(entry, doubts);
}

void frmForma::UpdateNombiletDoubt()
{
    const bool doubt = photoOnCard_ && photos_.NomerDoubtful(Nombilet->text());
    if (doubt == Nombilet->property("doubt").toBool())
        return;
    Nombilet->setProperty("doubt", doubt);
    DoubtMark::Set(Nombilet, doubt);
}

QString frmForma::PhotoNote() const
{
    if (!photos_.Active())
        return {};
    QString text =
        QStringLiteral("Со снимков: билет %1 из %2").arg(photos_.Position() + 1).arg(photos_.Count());
    // The draw on the photos against the set's: the ticket's own where it
    // was read, as a ticket of another draw would be checked against the
    // wrong one, else the one the photos give.
    QString tirag = photos_.BiletTirag();
    if (tirag.isEmpty())
        tirag = photos_.TiragNomer();
    if (const QString own = Loto::TiragNumber(state_.TiragTitle);
        !tirag.isEmpty() && tirag.toInt() != own.toInt())
        text += QStringLiteral(" (на снимке тираж %1, у набора %2)").arg(tirag, own);
    if (!photoOnCard_)
        return text + QStringLiteral(", вернётся на карточку после правки");
    if (!photos_.CurrentBilet())
        return text + QStringLiteral(": не найден, щёлкните его углы на снимке");
    QStringList look;
    if (const std::size_t doubts = photos_.Doubts(entry).size(); doubts > 0)
        look << QStringLiteral("клеток %1").arg(doubts);
    if (photos_.NomerDoubtful(Nombilet->text()))
        look << QStringLiteral("номер билета");
    if (const int waiting = photos_.WaitingRow(); waiting < Loto::kStroki)
        look << QStringLiteral("строку %1 дописать").arg(waiting + 1);
    return text + (look.isEmpty()
                       ? QStringLiteral(", прочитан уверенно")
                       : QStringLiteral(". Сверьте со снимком: ") + look.join(QStringLiteral(", ")));
}
