#pragma once

#include <QString>
#include <QUuid>

// One user account, a row of the table Username_Passwd.
//
// `passwd` holds the password column as stored: a hash text (PasswordHash)
// for rows this program wrote, or a plain password of an earlier version
// until that user's next login. Handing the store a record whose `passwd` is
// a plain password makes the store hash it; a record that carries the stored
// hash keeps the password unchanged. Passwords are checked with
// UserInfoDB::verifyPassword, never by comparing texts.
struct UserInfo {
    UserInfo();
    UserInfo(const QString& userName, const QString& passwd, const QString& realName,
             bool authUserManage, bool authImgCap, bool authImgProcess, bool authRptManage,
             bool authRptExport, bool isRemember);

    QUuid uuid;
    QString userName;
    QString passwd;
    QString realName;
    bool authUserManage = false;
    bool authImgCap = false;
    bool authImgProcess = false;
    bool authRptManage = false;
    bool authRptExport = false;
    bool isRemember = false;
};
