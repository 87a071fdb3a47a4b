#include "WesternBlotResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser at the scope it is used in, so it
// is called from a function of the global namespace.
static bool registerWesternBlotResources() {
    Q_INIT_RESOURCE(westernblot);
    return true;
}

void ensureWesternBlotResources() {
    static const bool registered = registerWesternBlotResources();
    Q_UNUSED(registered);
}
