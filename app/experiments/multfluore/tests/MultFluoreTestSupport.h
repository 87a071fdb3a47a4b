#pragma once

#include "TestStation.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

class CI_MainControl;

// One multi-fluorescence station for the whole test executable (the
// controller is one per process): model 320 with ExperimentType 2, English.
TestStation& multFluoreStation();
CI_MainControl* multFluoreController();

// The descendant of `root` with that object name and class, failing the
// test when there is none.
template <typename T>
T* childOf(QWidget* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}
