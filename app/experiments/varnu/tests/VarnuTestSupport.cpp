#include "VarnuTestSupport.h"

#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"

#include <gtest/gtest.h>

TestStation* englishStation(const QString& name) {
    auto* station = new TestStation(name);
    station->writeMachineIni(QStringLiteral("320"));
    station->setUserOption(QStringLiteral("LanguageID"), 1);
    return station;
}

CI_MainControl* testerController() {
    CI_MainControl* control = CI_MainControl::getInstance();
    if (!control->currentUser) {
        control->currentUser = new UserInfo();
    }
    control->currentUser->userName = QStringLiteral("tarsk");
    return control;
}

QStringList auditContents(int languageId) {
    QStringList texts;
    const QList<AuditTrailInfo> rows = CI_MainControl::getInstance()->auditTrailDB->loadAuditTrail(
        AuditTrailDB::kAnyPage, QString(), QString(), QString(), 0, 0, languageId);
    for (const AuditTrailInfo& row : rows) {
        EXPECT_EQ(row.page, 0);
        EXPECT_EQ(row.handler, QStringLiteral("tarsk"));
        texts.prepend(row.content);
    }
    return texts;
}
