#pragma once

#include "EventWait.h"
#include "FileFaults.h"
#include "ModalDriver.h"
#include "TestStation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

class CI_MainControl;
class QDialog;
class QWidget;

// Collects the debug and warning lines logged while it lives.
class LogLines {
  public:
    LogLines();
    ~LogLines();
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }

  private:
    QtMessageHandler m_previous;
};

// One station and one controller for a whole test executable (the
// controller is one per process). Each test starts logged in as `tarsk`
// with the main window counted as shown, so the password re-check asks
// when electronic signatures are on (the default).
class SystemPageTest : public testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Logs in as a stored account (its record becomes the held one).
    static void logInAs(const QString& userName);
    // Adds an account with the password "pw" and the given rights
    // (user manage, capture, process, report manage, report export).
    static void addAccount(const QString& userName, bool userManage = false, bool capture = false,
                           bool process = false, bool reportManage = false,
                           bool reportExport = false);

    // "languageId|model|handler|content" of the audit rows written since the
    // test began, in the order they were written.
    QStringList newAuditRows() const;
    static int lastAuditId();
    static QStringList auditRowsAfter(int id);

    // Answers the password re-check with `password` (the held user's, "pw"
    // for added accounts, "tarsk" for the administrator).
    static void passRecheck(ModalDriver& driver, const QString& password);
    static void refuseRecheck(ModalDriver& driver);

    static QStringList auditQuery(const QString& statement);

    static TestStation* s_station;
    static CI_MainControl* s_control;
    int m_auditBefore = 0;
};
