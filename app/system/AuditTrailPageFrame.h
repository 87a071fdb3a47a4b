#pragma once

#include <QFrame>

// The audit-trail page of the main window. It stands as a notice until the
// page itself is part of the program.
class AuditTrailPageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit AuditTrailPageFrame(QWidget* parent = nullptr);

    // Shows the page afresh (the page is reloaded on every visit).
    void showPage();
};
