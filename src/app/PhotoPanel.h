#pragma once
// The photo beside the card: a small window of its own next to the main
// window, showing the picture of the ticket in hand with the grid the reader
// found drawn over it, so the user can compare the card with the paper. Where
// no ticket was found, the user clicks its four corners on the picture.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <array>
#include <vector>

class QLabel;
class QPushButton;

class PhotoPanel : public QWidget
{
    Q_OBJECT
public:
    using Corners = std::array<QPointF, 4>;

    explicit PhotoPanel(QWidget *parent);

    // Shows preview (scale: its pixels per pixel of the file's picture) with
    // the grids found, in the file's pixels; grid current stands out (-1: none).
    // pickCorners: clicks on the picture give four corners.
    void Show(const QImage &preview, double scale, std::vector<Corners> grids, int current,
              const QString &caption, bool pickCorners);
    // The line above the picture.
    void SetCaption(const QString &caption);
    // The corners clicked so far are forgotten.
    void ResetCorners();
    // While the reader looks inside the corners, clicks wait.
    void SetBusy(bool busy) { busy_ = busy; }

    // Where a pixel of the file's picture is shown on the picture area, and back.
    QPointF ViewPoint(QPointF imagePoint) const;
    QPointF ImagePoint(QPointF viewPoint) const;
    // The area the picture is drawn in, for clicks.
    QWidget *PictureArea() const { return area_; }
    const QString &Caption() const { return caption_; }
    int CornersClicked() const { return int(clicked_.size()); }

signals:
    // Four corners were clicked, in the file's pixels.
    void CornersPicked(PhotoPanel::Corners corners);
    void SkipRequested();
    void StopRequested();
    // The user sees a ticket the reader missed on this picture.
    void MissedRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PaintPicture();
    // The rectangle the preview fills in the area, aspect kept.
    QRectF PictureRect() const;

    QLabel *captionLabel_ = nullptr;
    QWidget *area_ = nullptr;
    QPushButton *skip_ = nullptr;
    QPushButton *stop_ = nullptr;
    QPushButton *missed_ = nullptr;
    QImage preview_;
    double scale_ = 1.0;
    std::vector<Corners> grids_;
    int current_ = -1;
    QString caption_;
    bool pickCorners_ = false;
    bool busy_ = false;
    std::vector<QPointF> clicked_; // in the file's pixels
};
