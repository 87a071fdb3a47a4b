#pragma once

#include <QString>

// The single-instance test. The first instance takes an exclusive lock on the
// lock file "<name>.lock" in $XDG_RUNTIME_DIR (else /tmp) and holds it, through
// a close-on-exec descriptor that is never closed, until the process ends; the
// system releases it when the process ends in any way, a crash included.
// The name is "forCheckOnly", or the environment variable VARNU_INSTANCE_NAME
// when that is set and not empty (so that tests can run side by side).
//
// True when this is the only running instance. Taking the lock is one atomic
// step, so of two programs started at the same moment exactly one runs.
bool checkSingleInstance();

// The lock file that checkSingleInstance uses.
QString singleInstanceLockPath();
