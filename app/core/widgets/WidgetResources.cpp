#include "widgets/WidgetResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource initialiser at the scope it is used in, so it must
// be called from a function of the global namespace.
static bool registerWidgetResources() {
    Q_INIT_RESOURCE(varnu_widgets);
    return true;
}

void ensureWidgetResources() {
    static const bool registered = registerWidgetResources();
    Q_UNUSED(registered);
}
