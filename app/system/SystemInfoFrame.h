#pragma once

#include <QFrame>
#include <QString>
#include <QUrl>

class CI_MainControl;
class QNetworkAccessManager;
class QNetworkReply;

namespace Ui {
class SystemInfoFrame;
}

// The system-information page: the instrument's picture, the program
// version, the product link, the user manual of the model, and the check for
// a newer version against the maker's update service. Only the answer to the
// newest check is handled; a check that gets no answer in 15 s ends.
class SystemInfoFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SystemInfoFrame(QWidget* parent = nullptr);
    ~SystemInfoFrame() override;

    static QString md5Hex(const QString& text);
    // The plain text of the last update note.
    QString noteToText() const;

  public slots:
    void openUrl(const QString& url);
    void requestfinished(QNetworkReply* reply);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Update_clicked();
    void on_pushButton_UserManual_clicked();

  private:
    void initFrame();
    void showUpdateResult(bool newer);

    Ui::SystemInfoFrame* ui;
    QNetworkAccessManager* networkManager = nullptr;
    CI_MainControl* mainCtrl;
    QString latestVersion;
    QString updateTime;
    QString updateNote;
    QUrl updateUrl;
};
