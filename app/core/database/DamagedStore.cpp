#include "database/DamagedStore.h"

#include <QDebug>

#include <cstdlib>
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

QString notAFileStoreLine(const QString& filePath) {
    return QStringLiteral(
               "Database file %1 is not a file (a folder or another special file): it was left "
               "as it is.")
        .arg(filePath);
}

QString unopenedStoreLine(const QString& filePath) {
    return QStringLiteral("Database file %1 cannot be opened.").arg(filePath);
}

namespace {

QString problemLine(StoreProblem problem, const QString& filePath) {
    switch (problem) {
        case StoreProblem::Damaged:
            return damagedStoreLine(filePath);
        case StoreProblem::InUse:
            return storeInUseLine(filePath);
        case StoreProblem::NotAFile:
            return notAFileStoreLine(filePath);
        case StoreProblem::CannotOpen:
            break;
    }
    return unopenedStoreLine(filePath);
}

const char* endingLine(StoreProblem problem) {
    switch (problem) {
        case StoreProblem::Damaged:
            return "Program ended on a damaged database file.";
        case StoreProblem::InUse:
            return "Program ended on a database file in use.";
        case StoreProblem::NotAFile:
            return "Program ended on a database file that is not a file.";
        case StoreProblem::CannotOpen:
            break;
    }
    return "Program ended on a database file that cannot be opened.";
}

}  // namespace

void reportStoreProblem(StoreProblem problem, const QString& filePath, bool endProgram) {
    const QString line = problemLine(problem, filePath);
    if (!endProgram) {
        qWarning().noquote() << line;
        return;
    }
    qCritical().noquote() << line;
    if (installedNotice()) {
        installedNotice()(problem, filePath);
    }
    // Nothing has run yet that an ordinary end would leave half done: the
    // stores are opened first of all, before any device or thread.
    qCritical("%s", endingLine(problem));
    std::exit(kStoreProblemExitCode);
}
