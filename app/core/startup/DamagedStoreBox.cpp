#include "startup/DamagedStoreBox.h"

#include "database/DamagedStore.h"

#include <QMessageBox>

QString damagedStoreBoxText(const QString& filePath) {
    return QStringLiteral(
               "数据库文件已损坏，程序未改动该文件，即将退出：\n%1\n\n"
               "The database file is damaged. It was left as it is, and the program ends:\n%1")
        .arg(filePath);
}

void installDamagedStoreBox() {
    setDamagedStoreNotice([](const QString& filePath) {
        QMessageBox::critical(nullptr, QStringLiteral("Varnu"), damagedStoreBoxText(filePath),
                              QMessageBox::Ok);
    });
}
