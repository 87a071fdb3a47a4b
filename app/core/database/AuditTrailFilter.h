#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlQuery;

// The WHERE clause of a filtered count or page of the audit trail, with its
// bound values, and the runs of ids the rows lie in.
//
// Rows are written in time order, so normally a time range is one run of
// ids. The database records whether that holds (the table
// AuditTrailTimeOrder, kept by triggers); while it does, a time range is
// turned into its first and last id, and the page then reads its newest rows
// straight from an index instead of sorting every row of the range. A row
// written after the clock was set back starts a new run of rows in time
// order; the database records where each run starts (AuditTrailTimeRuns,
// with AuditTrailTimeRunState saying whether every run is in order), and a
// time range becomes one id range per run, each found by a binary search on
// the ids. Only when the runs are unknown (a row without a time stamp, a
// changed time stamp) are ranges filtered by their time stamps.
struct AuditTrailFilter {
    QString condition;  // "where languageId = :languageId and ..."
    QList<QPair<QString, QVariant>> values;
    // Inclusive id ranges the rows must lie in, newest first; empty: no
    // such restriction.
    QList<QPair<qint64, qint64>> idRanges;
    bool matchesNothing = false;  // the time range holds no row

    void bindTo(QSqlQuery& query) const;
};

// Sets up the time-order records and their triggers on a database that
// holds the table AuditTrail; checks the rows already there once.
void prepareAuditTrailTimeOrder(QSqlDatabase db);

AuditTrailFilter buildAuditTrailFilter(QSqlDatabase db, int page, const QString& handler,
                                       const QString& startTime, const QString& endTime,
                                       int languageId);
