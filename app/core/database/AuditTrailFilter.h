#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlQuery;

// The WHERE clause of a filtered count or page of the audit trail, with its
// bound values.
//
// Rows are written in time order, so normally a time range is one run of
// ids. The database records whether that holds (the table
// AuditTrailTimeOrder, kept by triggers); while it does, a time range is
// turned into its first and last id, and the page then reads its newest rows
// straight from an index instead of sorting every row of the range. Once a
// row is out of order (the clock was set back), ranges are filtered by their
// time stamps.
struct AuditTrailFilter {
    QString condition;  // "where languageId = :languageId and ..."
    QList<QPair<QString, QVariant>> values;
    bool matchesNothing = false;  // the time range holds no row

    void bindTo(QSqlQuery& query) const;
};

// Sets up the time-order record and its triggers on a database that holds
// the table AuditTrail; checks the rows already there once.
void prepareAuditTrailTimeOrder(QSqlDatabase db);

AuditTrailFilter buildAuditTrailFilter(QSqlDatabase db, int page, const QString& handler,
                                       const QString& startTime, const QString& endTime,
                                       int languageId);
