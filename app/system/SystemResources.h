#pragma once

// Registers the pictures of the system pages and of the audit-trail page
// (":/Image/..."). A static library's resources are only linked when
// something refers to them, so the widgets that show them call this first.
// Safe to call more than once.
void ensureSystemResources();
