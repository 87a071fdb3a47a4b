#pragma once

#include <QString>

#include <functional>

class ReportWps;
class QWidget;

// Registers the word processor the station's reports are made with
// ("kwps.Application"): documents are saved in the reports folder of the
// station directory (reportsFolderPath()). `show` hands a saved document to
// a program that opens it and says whether one took it; the program passes
// showWithDesktop, tests pass their own or nothing (no document is shown).
void installReportWordProcessor(std::function<bool(const QString& path)> show = nullptr);

// <station>/reports.
QString reportsFolderPath();

// Opens a document with the desktop's default handler for its type. False
// when none can take it: the environment variable VARNU_REPORT_VIEWER is
// "none", the desktop names no program for .docx files, or the opener fails.
bool showWithDesktop(const QString& path);

// How a report ended, for the user and the audit trail.
struct ReportResult {
    enum Outcome {
        NotSaved,       // no document was written; `reason` says why
        Opened,         // saved as `path` and handed to a program
        SavedNotOpened  // saved as `path`; no program could open it
    };
    Outcome outcome = NotSaved;
    QString path;
    QString reason;
};

// Saves the filled report of `report` and hands it to the installed `show`.
ReportResult completeReport(ReportWps& report);

// Tells the user what came of a report that was not opened: where it was
// saved, or why it was not. Nothing for an opened one.
void tellReportResult(QWidget* parent, const ReportResult& result);

// The audit row of a report, Chinese and English: what happened to it (made
// and opened, or saved without a program to open it); both empty when
// nothing was saved.
struct ReportAuditTexts {
    QString chinese;
    QString english;
};
ReportAuditTexts reportAuditTexts(const ReportResult& result, const QString& pictureName);
