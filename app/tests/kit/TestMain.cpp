// Main of the program's test executables: no core files from the fatal
// endings that tests provoke, a QApplication on the offscreen platform,
// death tests that re-run the executable, and a watchdog per test.

#include "Watchdog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>

namespace {

class WatchdogListener : public testing::EmptyTestEventListener {
  public:
    explicit WatchdogListener(int seconds) : m_seconds(seconds) {}
    void OnTestStart(const testing::TestInfo& info) override {
        m_watchdog.arm(std::string(info.test_suite_name()) + "." + info.name(), m_seconds);
    }
    void OnTestEnd(const testing::TestInfo&) override { m_watchdog.disarm(); }

  private:
    int m_seconds;
    Watchdog m_watchdog;
};

}  // namespace

int main(int argc, char** argv) {
    struct rlimit noCore {};
    setrlimit(RLIMIT_CORE, &noCore);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Named claims (the camera SDK's among them) live in XDG_RUNTIME_DIR and
    // are per user session: each test process gets a folder of its own, so
    // tests running side by side never see each other's claims. A death
    // test's child (the executable run again) keeps its parent's folder.
    QTemporaryDir claims(QDir::tempPath() + QStringLiteral("/varnu-claims-XXXXXX"));
    if (!qEnvironmentVariableIsSet("VARNU_TEST_CLAIMS") && claims.isValid()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(claims.path()));
        qputenv("VARNU_TEST_CLAIMS", "1");
    } else {
        claims.remove();
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const int seconds = qEnvironmentVariableIsSet("VARNU_TEST_WATCHDOG")
                            ? qEnvironmentVariableIntValue("VARNU_TEST_WATCHDOG")
                            : 60;
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener(seconds));
    return RUN_ALL_TESTS();
}
