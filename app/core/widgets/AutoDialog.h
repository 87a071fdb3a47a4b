#pragma once

#include <QDialog>
#include <QString>

class QMovie;

namespace Ui {
class AutoDialog;
}

// Busy animation with a caller-given text, shown during automatic exposure and focus.
class AutoDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AutoDialog(QWidget* parent = nullptr);
    ~AutoDialog() override;

    void setText(const QString& text);

  private:
    Ui::AutoDialog* ui;
    QMovie* movie;
};
