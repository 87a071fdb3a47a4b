// The message box the program shows before it ends on a database file it
// cannot use (damaged, in use by another program, not a file, not to be
// opened). Shown before a
// language is chosen, so it says it in both.
#pragma once

#include <QString>

#include "database/DamagedStore.h"

// The box's text for `problem` with the file at `filePath`.
QString storeProblemBoxText(StoreProblem problem, const QString& filePath);

// Makes the database room show the box on a store file it cannot use.
void installDamagedStoreBox();
