#pragma once

#include <QString>
#include <QStringList>

// The default folder for captured and exported pictures.

// The roots of the fixed drives, in the order QDir::drives() lists them.
// Linux has one root, "/", which counts as a fixed drive.
QStringList fixedDriveRoots();

// With two or more fixed drives: "UserImages" in the second one's root
// ("D:/UserImages", "/data/UserImages"); otherwise `desktop` + "/UserImages".
// The folder is not created.
QString defaultStoragePath(const QStringList& fixedDrives, const QString& desktop);

// The first desktop location of the user.
QString desktopLocation();
