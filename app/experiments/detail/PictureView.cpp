#include "PictureView.h"

#include "pictures/PictureLimits.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

namespace {
const QSize kIconSize(120, 90);
const QSize kItemSize(146, 120);
constexpr int kFontPixels = 15;
constexpr int kLineStep = 15;
constexpr int kBottomBaseline = 10;
}  // namespace

QPixmap loadShownPicture(const QString& path, QStringList* refused) {
    pictures::SizeCheck check = pictures::SizeCheck::Fits;
    const QImage picture = pictures::loadForDisplay(path, &check);
    if (check == pictures::SizeCheck::TooLarge && refused != nullptr) {
        *refused << QFileInfo(path).fileName();
    }
    return QPixmap::fromImage(picture);
}

void tellRefusedPictures(QWidget* parent, const QStringList& refused) {
    if (refused.isEmpty()) {
        return;
    }
    // Told from the event loop, once the dialog that loads the pictures is
    // on the screen; nothing when it is gone by then.
    const QString text = pictures::tooLargeMessage(refused);
    QTimer::singleShot(0, parent, [parent, text]() {
        QMessageBox::warning(parent, QCoreApplication::translate("PictureView", "Warning"), text);
    });
}

void setUpThumbnailStrip(QListWidget* strip) {
    strip->setIconSize(kIconSize);
    strip->setResizeMode(QListView::Adjust);
    strip->setViewMode(QListView::IconMode);
    strip->setMovement(QListView::Static);
    strip->setSpacing(5);
    strip->setFlow(QListView::LeftToRight);
    strip->setWrapping(false);
}

void appendThumbnail(QListWidget* strip, const QPixmap& picture, const QString& caption,
                     bool selectable) {
    QIcon icon;
    if (!picture.isNull()) {
        icon = QIcon(picture.scaled(kIconSize, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    auto* item = new QListWidgetItem(icon, caption);
    item->setSizeHint(kItemSize);
    if (!selectable) {
        item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
    }
    strip->insertItem(strip->count(), item);
}

QPixmap fitPictureToLabel(QLabel* label, const QPixmap& picture, int imageShowMode) {
    const QSize area = label->size();
    if (picture.isNull()) {
        return picture;
    }
    if (picture.width() >= area.width() || picture.height() >= area.height()) {
        if (imageShowMode == 0) {
            label->setScaledContents(false);
        } else if (imageShowMode == 1) {
            label->setScaledContents(true);
        }
        return picture.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    label->setScaledContents(false);
    return picture;
}

void setLabelPicture(QLabel* label, const QPixmap& picture) {
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(picture);
    label->repaint();
}

void drawParameterLines(QPixmap& picture, int fromRight, const QStringList& lines) {
    if (picture.isNull()) {
        return;
    }
    // A grey picture takes the red only once it holds colours.
    if (!picture.hasAlphaChannel() && picture.depth() < 24) {
        picture = QPixmap::fromImage(picture.toImage().convertToFormat(QImage::Format_RGB32));
    }
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.setPen(QColor(Qt::red));
    QFont font = painter.font();
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    const int x = picture.width() - fromRight;
    const int count = lines.size();
    for (int i = 0; i < count; ++i) {
        const int baseline = picture.height() - kBottomBaseline - (count - 1 - i) * kLineStep;
        painter.drawText(x, baseline, lines.at(i));
    }
}
