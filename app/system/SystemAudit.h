#pragma once

#include <QString>

// Writes one action of a system page to the audit trail as its two rows:
// the Chinese text (language 0) first, then the English text (language 1),
// both on the system page with the logged-in user as handler.
void writeSystemAuditPair(const QString& chinese, const QString& english);
