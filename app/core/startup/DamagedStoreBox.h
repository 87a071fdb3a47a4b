// The message box the program shows before it ends on a damaged database
// file. Shown before a language is chosen, so it says it in both.
#pragma once

#include <QString>

// The box's text for the damaged file at `filePath`.
QString damagedStoreBoxText(const QString& filePath);

// Makes the database room show the box on a damaged store file.
void installDamagedStoreBox();
