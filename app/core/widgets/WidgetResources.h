#pragma once

// Registers the pictures of this library (":/Image/loading.gif", ":/Image/waiting.gif").
// A static library's resource object is only linked when something refers to it, so every
// widget that shows one of the pictures calls this first. Safe to call more than once.
void ensureWidgetResources();
