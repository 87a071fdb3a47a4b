#include "startup/DamagedStoreBox.h"

#include <QMessageBox>

QString storeProblemBoxText(StoreProblem problem, const QString& filePath) {
    switch (problem) {
        case StoreProblem::InUse:
            return QStringLiteral(
                       "数据库文件正被其他程序使用，程序未改动该文件，即将退出。"
                       "请关闭该程序后重新启动：\n%1\n\n"
                       "The database file is in use by another program. It was left as it is, "
                       "and the program ends. Close the other program and start again:\n%1")
                .arg(filePath);
        case StoreProblem::NotAFile:
            return QStringLiteral(
                       "数据库文件的位置上不是文件（例如是一个文件夹），程序未改动它，即将退出：\n%"
                       "1"
                       "\n\n"
                       "Where the database file should be there is something else (a folder, for "
                       "example). It was left as it is, and the program ends:\n%1")
                .arg(filePath);
        case StoreProblem::CannotOpen:
            return QStringLiteral(
                       "数据库文件无法打开，程序即将退出。请检查数据库文件夹是否可以写入：\n%1\n\n"
                       "The database file cannot be opened, and the program ends. Check that the "
                       "database folder can be written:\n%1")
                .arg(filePath);
        case StoreProblem::Damaged:
            break;
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
