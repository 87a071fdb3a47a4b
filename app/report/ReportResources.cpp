#include "ReportResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the initialiser at the scope it is used in, so it
// is called from a function of the global namespace.
static bool registerReportResources() {
    Q_INIT_RESOURCE(report);
    return true;
}

void ensureReportResources() {
    static const bool registered = registerReportResources();
    Q_UNUSED(registered);
}
