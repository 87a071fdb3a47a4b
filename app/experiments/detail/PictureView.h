#pragma once

#include <QPixmap>
#include <QStringList>

class QLabel;
class QListWidget;
class QWidget;

// What the two experiment detail dialogs share: the thumbnail strip, the
// large view and the red parameter overlay.

// The picture of a file as the dialogs show it: empty when it cannot be read,
// and empty with its file name added to `refused` when its header claims a
// size over the station's picture limits (it is then not decoded).
QPixmap loadShownPicture(const QString& path, QStringList* refused = nullptr);
// Tells the user, once, which pictures were not shown for their size, as
// soon as the event loop runs (over the dialog, once it is shown); nothing
// when `refused` is empty.
void tellRefusedPictures(QWidget* parent, const QStringList& refused);

// Icon mode, 120 x 90 icons, one row from left to right without wrapping.
void setUpThumbnailStrip(QListWidget* strip);
// An item of the strip with the picture scaled to 120 x 90 (an empty icon
// when the picture could not be read) and `caption` as its text.
void appendThumbnail(QListWidget* strip, const QPixmap& picture, const QString& caption,
                     bool selectable);

// The pixmap as the large view shows it: at its own size when it is smaller
// than the label both ways, else fitted into the label with its aspect
// ratio kept. Sets the label's scaled-contents flag as the show mode asks
// (0 "Center": off, 1 "Fill": on; only for a fitted picture).
QPixmap fitPictureToLabel(QLabel* label, const QPixmap& picture, int imageShowMode);
// Centres, sets and repaints the label's picture.
void setLabelPicture(QLabel* label, const QPixmap& picture);

// Draws `lines` in red, 15-pixel font, one every 15 pixels with the last
// baseline 10 pixels above the bottom, starting `fromRight` pixels left of
// the right edge. Nothing is drawn on an empty pixmap.
void drawParameterLines(QPixmap& picture, int fromRight, const QStringList& lines);
