#pragma once

// Registers the pictures of the western-blot page. A static library's
// resources are only linked when something refers to them, so the page's
// frames call this first. Safe to call more than once.
void ensureWesternBlotResources();
