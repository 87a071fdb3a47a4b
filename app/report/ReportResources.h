#pragma once

// Registers the button pictures of the report list (":/Image/detail_*",
// ":/Image/delete_*"). A static library's resources are only linked when
// something refers to them, so the list calls this first. Safe to call more
// than once.
void ensureReportResources();
