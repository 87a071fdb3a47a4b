#include "widgets/InitialDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMovie>

#include "widgets/BusyLook.h"

namespace Ui {

class InitialDialog {
  public:
    QLabel* label_loading;
    QLabel* label_Text;

    void setupUi(QDialog* dialog) {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("InitialDialog"));
        dialog->resize(220, 90);
        label_loading = new QLabel(dialog);
        label_loading->setObjectName(QStringLiteral("label_loading"));
        label_loading->setGeometry(QRect(20, 0, 180, 40));
        label_Text = new QLabel(dialog);
        label_Text->setObjectName(QStringLiteral("label_Text"));
        label_Text->setGeometry(QRect(0, 50, 220, 40));
        BusyLook::applyText(label_Text);
        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog) {
        dialog->setWindowTitle(QCoreApplication::translate("InitialDialog", "Dialog"));
    }
};

}  // namespace Ui

InitialDialog::InitialDialog(QWidget* parent) : QDialog(parent), ui(new Ui::InitialDialog) {
    ui->setupUi(this);
    BusyLook::applyWindow(this);
    ui->label_Text->setText(tr("Initializing..."));
    movie = BusyLook::attachLoadingMovie(ui->label_loading, this);
    movie->start();
}

InitialDialog::~InitialDialog() {
    delete ui;
}
