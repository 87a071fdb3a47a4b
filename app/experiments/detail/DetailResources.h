#pragma once

// Registers the button pictures of the detail dialogs (":/Image/rectback_*",
// ":/Image/dialogexport_*"). A static library's resources are only linked
// when something refers to them, so the dialogs call this first. Safe to
// call more than once.
void ensureDetailResources();
