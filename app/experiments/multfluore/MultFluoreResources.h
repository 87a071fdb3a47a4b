#pragma once

// Registers the pictures and style rules of the multi-fluorescence page. A
// static library's resources are only linked when something refers to them,
// so the page's frames call this first. Safe to call more than once.
void ensureMultFluoreResources();
