// varnu-demo-experiments <station directory>
//
// Gives a station a few demonstration experiments (three gel/UV, one
// western blot, with their pictures in both picture folders) for the report
// page, until the experiment pages have made real ones. Run it while the
// station program is not running. Running it again adds nothing.
#include "DemoExperiments.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: varnu-demo-experiments <station directory>\n";
        return 2;
    }
    const QString station = QDir(arguments.at(1)).absolutePath();
    if (!QDir(station).exists()) {
        err << "varnu-demo-experiments: no station directory " << station << "\n";
        return 2;
    }
    const DemoExperiments result = seedDemoExperiments(station, QDateTime::currentDateTime());
    if (!result.error.isEmpty()) {
        err << "varnu-demo-experiments: " << result.error << "\n";
        return 1;
    }
    out << "demonstration experiments added: " << result.gelUvRecords << " gel/UV, "
        << result.westernBlotRecords << " western blot, " << result.pictures << " pictures\n";
    return 0;
}
