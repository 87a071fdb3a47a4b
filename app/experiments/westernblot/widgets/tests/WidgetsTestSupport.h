#pragma once

#include "FormRows.h"
#include "TestStation.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

class CI_MainControl;

// One western-blot station for the whole test executable (the controller is
// one per process): model 320 with ExperimentType 1, English.
TestStation& widgetsStation();
CI_MainControl* widgetsController();

// The descendant of `root` with that object name and class, failing the
// test when there is none.
template <typename T>
T* childOf(QWidget* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The object names of the direct child widgets of `parent`, in creation
// order (which is also their stacking order, bottom first).
QStringList childOrder(QWidget* parent);
// The named widgets in the order the keyboard focus visits them.
QStringList focusOrder(QWidget* root, const QStringList& names);

// Switches the program's language as the settings page does (0 Chinese, 1
// English) and lets the language-change events arrive.
void switchLanguage(int language);
