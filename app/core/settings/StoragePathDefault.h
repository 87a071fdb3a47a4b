#pragma once

#include <QString>
#include <QStringList>

class UserOpts;

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

// Reloads `storagePath`; an empty one first becomes the default above (of this
// machine's drives and desktop) and is saved. Returns the path.
QString storagePathOrDefault(UserOpts& userOpt);
