#pragma once

#include "TestStation.h"

#include <QString>
#include <QStringList>

class CI_MainControl;

// A fresh model-320 station in English.
TestStation* englishStation(const QString& name);
// The controller with the tester "tarsk" signed in.
CI_MainControl* testerController();
// The contents of the audit rows in that language (0 Chinese, 1 English),
// oldest first; each row is checked to be the tester's on page 0.
QStringList auditContents(int languageId);
