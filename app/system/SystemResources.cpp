#include "SystemResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser at the scope it is used in, so it
// is called from a function of the global namespace.
static bool registerSystemResources() {
    Q_INIT_RESOURCE(audittrail);
    Q_INIT_RESOURCE(varnu_system);
    return true;
}

void ensureSystemResources() {
    static const bool registered = registerSystemResources();
    Q_UNUSED(registered);
}
