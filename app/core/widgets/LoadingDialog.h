#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class LoadingDialog;
}

// Frameless, translucent line of red text that tells the user a long step is running.
// The page that opens it also closes it.
class LoadingDialog : public QDialog {
    Q_OBJECT

  public:
    LoadingDialog(QWidget* parent, const QString& text);
    ~LoadingDialog() override;

  private:
    Ui::LoadingDialog* ui;
    QString text;
};
