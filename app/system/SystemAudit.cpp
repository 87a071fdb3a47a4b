#include "SystemAudit.h"

#include "AuditTrailDB.h"
#include "CI_MainControl.h"
#include "NavigationTypes.h"
#include "UserInfo.h"

void writeSystemAuditPair(const QString& chinese, const QString& english) {
    CI_MainControl* mainCtrl = CI_MainControl::getInstance();
    AuditTrailInfo info;
    info.page = SystemPage;
    info.handler = mainCtrl->currentUser->userName;
    info.languageId = 0;
    info.content = chinese;
    mainCtrl->auditTrailDB->insertAuditTrail(info);
    info.languageId = 1;
    info.content = english;
    mainCtrl->auditTrailDB->insertAuditTrail(info);
}
