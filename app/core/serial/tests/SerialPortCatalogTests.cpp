#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "serial/SerialPortCatalog.h"

using namespace SerialPortCatalog;

TEST(SerialPortCatalog, MapsWindowsNamesToSystemNames) {
    struct Case {
        const char* comNum;
        const char* system;
    };
    const Case cases[] = {
        {"COM1", "ttyS0"},  {"COM2", "ttyS1"},  {"COM12", "ttyS11"},
        {"COM0", "COM0"},   {"COM", "COM"},     {"com3", "com3"},
        {"COM3x", "COM3x"}, {"COM+3", "COM+3"}, {"ttyUSB0", "ttyUSB0"},
        {"ttyS1", "ttyS1"}, {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(systemPortName(QString::fromLatin1(c.comNum)), QString::fromLatin1(c.system))
            << c.comNum;
    }
}

TEST(SerialPortCatalog, FindsListedPortsByExactName) {
    const QStringList system = {"ttyS0", "ttyS2", "ttyUSB0"};
    struct Case {
        const char* comNum;
        bool present;
        const char* serialPortName;
    };
    const Case cases[] = {
        {"COM3", true, "ttyS2"},
        {"com3", false, "com3"},
        {"COM2", false, "ttyS1"},
        {"ttyUSB0", true, "ttyUSB0"},
        {"ttyusb0", false, "ttyusb0"},
        {"ttyS2", true, "ttyS2"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        const QString comNum = QString::fromLatin1(c.comNum);
        EXPECT_EQ(isPortPresent(comNum, system), c.present) << c.comNum;
        EXPECT_EQ(serialPortName(comNum), QString::fromLatin1(c.serialPortName)) << c.comNum;
        const SerialPortChoice choice = chooseSerialPort(comNum, system);
        EXPECT_EQ(choice.found, c.present) << c.comNum;
        EXPECT_EQ(choice.portName, c.present ? comNum : QString()) << c.comNum;
    }
}

TEST(SerialPortCatalog, DevicePathsArePresentWhenTheyLeadToADevice) {
    const QString scratch = QString::fromLocal8Bit(qgetenv("VARNU_TEST_SCRATCH"));
    const QString dir = scratch.isEmpty() ? QDir::tempPath() : scratch;
    const QString link = dir + "/catalog-link";
    const QString plain = dir + "/catalog-plain";
    QFile::remove(link);
    ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(link).constData()), 0);
    {
        QFile file(plain);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(isDevicePath(link));
    EXPECT_TRUE(isPortPresent(link, {}));
    EXPECT_TRUE(chooseSerialPort(link).found);
    EXPECT_EQ(chooseSerialPort(link).portName, link);
    EXPECT_EQ(serialPortName(link), link);
    EXPECT_FALSE(isPortPresent(plain, {}));  // not a device
    EXPECT_FALSE(isPortPresent(dir + "/missing", {"missing"}));
    // A relative path counts from the current directory.
    ASSERT_TRUE(QDir::setCurrent(dir));
    EXPECT_EQ(serialPortName("./catalog-link"), link);
    EXPECT_TRUE(isPortPresent("./catalog-link", {}));
    QFile::remove(link);
    EXPECT_FALSE(isPortPresent(link, {}));
}

TEST(SerialPortCatalog, WarningTexts) {
    EXPECT_EQ(serialPortWarningTitle(), "Warning");
    EXPECT_EQ(serialPortWarningText(), "SerialPort connection error!");
}
