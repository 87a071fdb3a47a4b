#include "widgets/WaitingDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMovie>
#include <QTimer>

#include "widgets/WidgetResources.h"

namespace {
constexpr int kShowTimeMs = 200;
}

namespace Ui {

class WaitingDialog {
  public:
    QLabel* label;

    void setupUi(QDialog* dialog) {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("WaitingDialog"));
        dialog->resize(201, 184);
        label = new QLabel(dialog);
        label->setObjectName(QStringLiteral("label"));
        label->setGeometry(QRect(0, 0, 201, 171));
        label->setAutoFillBackground(false);
        label->setScaledContents(true);
        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog) {
        dialog->setWindowTitle(QCoreApplication::translate("WaitingDialog", "Dialog"));
    }
};

}  // namespace Ui

WaitingDialog::WaitingDialog(QWidget* parent) : QDialog(parent), ui(new Ui::WaitingDialog) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setModal(true);
    setStyleSheet(QString());

    ensureWidgetResources();
    movie = new QMovie(QStringLiteral(":/Image/waiting.gif"), QByteArray(), this);
    ui->label->setMovie(movie);

    // Precise, so the dialog never hides before the full 200 ms.
    timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &WaitingDialog::on_CloseDialog);
}

WaitingDialog::~WaitingDialog() {
    delete ui;
}

void WaitingDialog::showWaiting() {
    show();
    movie->start();
    // A running single-shot timer restarts, so the dialog hides 200 ms after the last call.
    timer->start(kShowTimeMs);
}

void WaitingDialog::on_CloseDialog() {
    movie->stop();
    hide();
}
