#include "ButtonPicture.h"

#include <QBitmap>
#include <QPixmap>
#include <QPushButton>

void fitButtonToPicture(QPushButton* button, const QString& picture) {
    const QPixmap pixmap(picture);
    if (pixmap.isNull()) {
        return;
    }
    button->resize(pixmap.size());
    button->setMask(pixmap.mask());
}
