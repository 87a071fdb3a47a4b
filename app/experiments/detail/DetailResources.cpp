#include "DetailResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser at the scope it is used in, so it
// is called from a function of the global namespace.
static bool registerDetailResources() {
    Q_INIT_RESOURCE(detail);
    return true;
}

void ensureDetailResources() {
    static const bool registered = registerDetailResources();
    Q_UNUSED(registered);
}
