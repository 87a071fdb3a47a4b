#include "startup/DamagedStoreBox.h"

#include <QMessageBox>

QString storeProblemBoxText(StoreProblem problem, const QString& filePath) {
    if (problem == StoreProblem::InUse) {
        return QStringLiteral(
                   "数据库文件正被其他程序使用，程序未改动该文件，即将退出。"
                   "请关闭该程序后重新启动：\n%1\n\n"
                   "The database file is in use by another program. It was left as it is, and "
                   "the program ends. Close the other program and start again:\n%1")
            .arg(filePath);
    }
    return QStringLiteral(
               "数据库文件已损坏，程序未改动该文件，即将退出：\n%1\n\n"
               "The database file is damaged. It was left as it is, and the program ends:\n%1")
        .arg(filePath);
}

void installDamagedStoreBox() {
    setStoreProblemNotice([](StoreProblem problem, const QString& filePath) {
        QMessageBox::critical(nullptr, QStringLiteral("Varnu"),
                              storeProblemBoxText(problem, filePath), QMessageBox::Ok);
    });
}
