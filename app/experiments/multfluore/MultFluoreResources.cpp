#include "MultFluoreResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser at the scope it is used in, so it
// is called from a function of the global namespace.
static bool registerMultFluoreResources() {
    Q_INIT_RESOURCE(multfluore);
    return true;
}

void ensureMultFluoreResources() {
    static const bool registered = registerMultFluoreResources();
    Q_UNUSED(registered);
}
