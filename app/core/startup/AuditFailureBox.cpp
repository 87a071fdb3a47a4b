#include "startup/AuditFailureBox.h"

#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"

#include <QCoreApplication>
#include <QMessageBox>

QString auditFailureBoxText(const QString& content) {
    return QCoreApplication::translate(
               "AuditFailureBox",
               "The audit trail could not be stored, so this action is not recorded:\n%1\n\n"
               "The database folder may be full or not writable.")
        .arg(content);
}

void installAuditFailureBox(CI_MainControl* control) {
    QObject::connect(
        control->auditTrailDB, &AuditTrailDB::auditTrailNotStored, control,
        [control](const QString& chineseContent, const QString& englishContent) {
            // An action that fails while the box is open is in the log only.
            static bool boxOpen = false;
            if (boxOpen) {
                return;
            }
            boxOpen = true;
            const QString content = control->getLanguageID() == 0 ? chineseContent : englishContent;
            QMessageBox::warning(nullptr, QCoreApplication::translate("AuditFailureBox", "Warning"),
                                 auditFailureBoxText(content), QMessageBox::Ok);
            boxOpen = false;
        });
}
