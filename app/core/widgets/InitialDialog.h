#pragma once

#include <QDialog>

class QMovie;

namespace Ui {
class InitialDialog;
}

// Busy animation with "Initializing...", shown while the cooled camera starts its preview.
class InitialDialog : public QDialog {
    Q_OBJECT

  public:
    explicit InitialDialog(QWidget* parent = nullptr);
    ~InitialDialog() override;

  private:
    Ui::InitialDialog* ui;
    QMovie* movie;
};
