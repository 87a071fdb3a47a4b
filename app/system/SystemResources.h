#pragma once

// Registers the pictures of the audit-trail page (":/Image/calendar.png",
// ":/Image/calendar_check.png"). A static library's resources are only linked
// when something refers to them, so the widgets that show them call this
// first. Safe to call more than once.
void ensureSystemResources();
