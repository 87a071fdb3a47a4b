#include "database/DamagedStore.h"

#include <QDebug>
#include <utility>

namespace {
StoreProblemNotice& installedNotice() {
    static StoreProblemNotice notice;
    return notice;
}
}  // namespace

void setStoreProblemNotice(StoreProblemNotice notice) {
    installedNotice() = std::move(notice);
}

QString damagedStoreLine(const QString& filePath) {
    return QStringLiteral("Damaged database file %1: it was left as it is.").arg(filePath);
}

QString storeInUseLine(const QString& filePath) {
    return QStringLiteral("Database file %1 is in use by another program: it was left as it is.")
        .arg(filePath);
}

void reportStoreProblem(StoreProblem problem, const QString& filePath, bool endProgram) {
    const QString line =
        problem == StoreProblem::Damaged ? damagedStoreLine(filePath) : storeInUseLine(filePath);
    if (!endProgram) {
        qWarning().noquote() << line;
        return;
    }
    qCritical().noquote() << line;
    if (installedNotice()) {
        installedNotice()(problem, filePath);
    }
    if (problem == StoreProblem::Damaged) {
        qFatal("Program ended on a damaged database file.");
    }
    qFatal("Program ended on a database file in use.");
}
