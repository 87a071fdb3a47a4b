#pragma once

#include "AxDispatch.h"

#include <QSet>
#include <QStringList>

#include <memory>

// An automation server that records every call it gets as one line
// "<object> <kind> <member> [<arguments>]" and answers like a word processor
// whose failures a test chooses.
struct RecordingScript {
    bool noDocuments = false;       // the application has no Documents
    bool noActiveDocument = false;  // Add makes no document
    bool noSelection = false;       // the application has no Selection
    QSet<QString> missingBookmarks;
};

class RecordingServer {
  public:
    explicit RecordingServer(RecordingScript script = {});
    // Registers the server as "kwps.Application" while it lives.
    void install();
    ~RecordingServer();

    QStringList calls() const { return m_log->calls; }

    struct Log {
        QStringList calls;
    };

  private:
    RecordingScript m_script;
    std::shared_ptr<Log> m_log = std::make_shared<Log>();
    bool m_installed = false;
};
