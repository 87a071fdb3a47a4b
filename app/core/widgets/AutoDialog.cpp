#include "widgets/AutoDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMovie>

#include "widgets/BusyLook.h"

namespace Ui {

class AutoDialog {
  public:
    QLabel* label_Text;
    QLabel* label_loading;

    void setupUi(QDialog* dialog) {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("AutoDialog"));
        dialog->resize(220, 90);
        label_Text = new QLabel(dialog);
        label_Text->setObjectName(QStringLiteral("label_Text"));
        label_Text->setGeometry(QRect(0, 50, 220, 40));
        BusyLook::applyText(label_Text);
        label_loading = new QLabel(dialog);
        label_loading->setObjectName(QStringLiteral("label_loading"));
        label_loading->setGeometry(QRect(20, 0, 180, 40));
        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog) {
        dialog->setWindowTitle(QCoreApplication::translate("AutoDialog", "Dialog"));
    }
};

}  // namespace Ui

AutoDialog::AutoDialog(QWidget* parent) : QDialog(parent), ui(new Ui::AutoDialog) {
    ui->setupUi(this);
    BusyLook::applyWindow(this);
    movie = BusyLook::attachLoadingMovie(ui->label_loading, this);
    movie->start();
}

AutoDialog::~AutoDialog() {
    delete ui;
}

void AutoDialog::setText(const QString& text) {
    ui->label_Text->setText(text);
}
