#pragma once

#include <QString>

class QPushButton;

// Sizes a picture button of the western-blot page to its picture and takes
// the picture's mask as the button's shape; nothing when the picture is
// missing.
void fitButtonToPicture(QPushButton* button, const QString& picture);
