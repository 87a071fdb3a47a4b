// The warning the user gets when the audit trail could not store what they
// did: one box per action (the store reports an action once, not per row),
// and no second box over one that is still open.
#pragma once

#include <QString>

class CI_MainControl;

// The box's text for the action `content` (in the interface's language).
QString auditFailureBoxText(const QString& content);

// Shows the box whenever the controller's audit store reports an action it
// could not store, with the action's text in the current language.
void installAuditFailureBox(CI_MainControl* control);
