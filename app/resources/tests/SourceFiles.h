#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The program's own source files, read from the source tree.
namespace sourcefiles {

// The files below app/ whose names end in `suffix` (".ui", ".qrc"), as paths
// relative to app/, sorted; test folders are left out.
QStringList appFiles(const QString& suffix);
// The absolute path of a file given relative to app/.
QString appPath(const QString& relative);
// Every resource path (":/Image/x.png") that the program's .qrc files list,
// with the .qrc files (relative to app/) that list it.
QMap<QString, QStringList> resourcePaths();
// The translation sources that make the program's translation.
QStringList translationSources();

}  // namespace sourcefiles
