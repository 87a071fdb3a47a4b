#include "database/DamagedStore.h"

#include <QDebug>
#include <utility>

namespace {
DamagedStoreNotice& installedNotice() {
    static DamagedStoreNotice notice;
    return notice;
}
}  // namespace

void setDamagedStoreNotice(DamagedStoreNotice notice) {
    installedNotice() = std::move(notice);
}

QString damagedStoreLine(const QString& filePath) {
    return QStringLiteral("Damaged database file %1: it was left as it is.").arg(filePath);
}

void reportDamagedStore(const QString& filePath, bool endProgram) {
    if (!endProgram) {
        qWarning().noquote() << damagedStoreLine(filePath);
        return;
    }
    qCritical().noquote() << damagedStoreLine(filePath);
    if (installedNotice()) {
        installedNotice()(filePath);
    }
    qFatal("Program ended on a damaged database file.");
}
