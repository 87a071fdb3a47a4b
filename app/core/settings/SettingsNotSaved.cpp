#include "settings/SettingsNotSaved.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>

QString settingsNotSavedText() {
    return QCoreApplication::translate("SettingsNotSaved",
                                       "Save failed, the settings file cannot be written!");
}

void tellSettingsNotSaved(QWidget* parent) {
    static bool boxOpen = false;
    if (boxOpen) {
        return;
    }
    boxOpen = true;
    QMessageBox::warning(parent, QCoreApplication::translate("SettingsNotSaved", "Tips"),
                         settingsNotSavedText(), QMessageBox::Ok);
    boxOpen = false;
}

void postSettingsNotSaved() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { tellSettingsNotSaved(); }, Qt::QueuedConnection);
}
