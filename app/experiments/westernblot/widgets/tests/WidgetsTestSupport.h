#pragma once

#include "FormRows.h"
#include "TestStation.h"

#include <QString>
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

// Switches the program's language as the settings page does (0 Chinese, 1
// English) and lets the language-change events arrive.
void switchLanguage(int language);
