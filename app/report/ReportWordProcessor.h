#pragma once

#include <QString>

#include <functional>

// Registers the word processor the station's reports are made with
// ("kwps.Application"): documents are written to the reports folder of the
// station directory (reportsFolderPath()) and each is handed to `show`
// once the program is back in its event loop. The program passes
// showWithDesktop; tests pass nothing, so no document is shown.
void installReportWordProcessor(std::function<void(const QString& path)> show = nullptr);

// <station>/reports.
QString reportsFolderPath();

// Opens a document with the desktop's default handler for its type, unless
// the environment variable VARNU_REPORT_VIEWER is "none".
void showWithDesktop(const QString& path);
