#pragma once

// Registers the pictures of the system pages (":/Image/..."). A static
// library's resource object is only linked when something refers to it, so
// the pages call this before they need a picture. Safe to call more than once.
void ensureSystemResources();
