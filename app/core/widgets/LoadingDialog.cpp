#include "widgets/LoadingDialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>

#include "widgets/BusyLook.h"

namespace Ui {

class LoadingDialog {
  public:
    QGridLayout* gridLayout;
    QLabel* label_Text;

    void setupUi(QDialog* dialog) {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("LoadingDialog"));
        dialog->resize(300, 40);
        gridLayout = new QGridLayout(dialog);
        gridLayout->setObjectName(QStringLiteral("gridLayout"));
        gridLayout->setSpacing(0);
        gridLayout->setContentsMargins(0, 0, 0, 0);
        label_Text = new QLabel(dialog);
        label_Text->setObjectName(QStringLiteral("label_Text"));
        BusyLook::applyText(label_Text);
        gridLayout->addWidget(label_Text, 0, 0, 1, 1);
        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog) {
        dialog->setWindowTitle(QCoreApplication::translate("LoadingDialog", "Dialog"));
    }
};

}  // namespace Ui

LoadingDialog::LoadingDialog(QWidget* parent, const QString& text)
    : QDialog(parent), ui(new Ui::LoadingDialog), text(text) {
    ui->setupUi(this);
    BusyLook::applyWindow(this);
    ui->label_Text->setText(this->text);
}

LoadingDialog::~LoadingDialog() {
    delete ui;
}
