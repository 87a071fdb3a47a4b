#include "database/UserInfo.h"

UserInfo::UserInfo() : uuid(QUuid::createUuid()) {}

UserInfo::UserInfo(const QString& userName, const QString& passwd, const QString& realName,
                   bool authUserManage, bool authImgCap, bool authImgProcess, bool authRptManage,
                   bool authRptExport, bool isRemember)
    : uuid(QUuid::createUuid()),
      userName(userName),
      passwd(passwd),
      realName(realName),
      authUserManage(authUserManage),
      authImgCap(authImgCap),
      authImgProcess(authImgProcess),
      authRptManage(authRptManage),
      authRptExport(authRptExport),
      isRemember(isRemember) {}
