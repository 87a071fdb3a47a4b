// The warning a user gets when a change could not be written to a settings
// file (the file or its folder is not writable, the disk is full): nothing of
// the change was stored, and the caller shows the stored value again.
#pragma once

#include <QString>

class QWidget;

// "Save failed, the settings file cannot be written!" in the interface's
// language.
QString settingsNotSavedText();

// Shows the warning on the GUI thread; while one is open a second failure
// adds no second box.
void tellSettingsNotSaved(QWidget* parent = nullptr);

// The same from any thread: the box opens on the GUI thread once it returns
// to its event loop.
void postSettingsNotSaved();
