#pragma once

#include <QString>

// Reads a style-sheet resource whole, as Latin-1 text up to its first zero
// byte. Empty when the resource cannot be read.
QString readStyleSheet(const QString& resourcePath);

// The sheet ":/Style/<stem>.css" for language 0 (Chinese) or
// ":/Style/<stem>_en.css" for language 1 (English), read as above. Any other
// language id is the fatal message "Unknow LanguageID.".
QString readLanguageStyleSheet(const QString& stem, int languageId);
