#pragma once

#include <QString>

// The station directory: the folder that holds the station's settings files,
// databases, logs and pictures. It is the environment variable VARNU_HOME when
// that is set and not empty, else the folder of the running program.
//
// Every path that the program builds "below the application directory" is
// built from stationDirPath(), never from QCoreApplication::applicationDirPath().
// The function is safe to call before the application object exists and from
// any thread, and it never raises a log message of its own (the log handler
// calls it).
QString stationDirPath();

// stationDirPath() + "/" + relative.
QString stationFilePath(const QString& relative);
