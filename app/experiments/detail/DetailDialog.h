#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QUuid>

#include <memory>

namespace Ui {
class DetailDialog;
}
class CI_MainControl;
class QListWidgetItem;
struct WestblotExperiment;

// The pictures of one western-blot experiment: every TIFF of its folder as
// a strip of thumbnails, and the clicked one large with the capture
// parameters of that picture (binning, its exposure and gain, black level,
// contrast, gamma) in red at the lower right. Pictures beyond the recorded
// exposures (the blend of a marker picture) show none.
//
// Use: construct, setUuid, initDialog, exec.
class DetailDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DetailDialog(QWidget* parent = nullptr);
    ~DetailDialog() override;

    // The names of the plain "*.tif" files of `folder` by name; one empty
    // name when it holds none or does not exist.
    static QStringList pictureNames(const QString& folder);

  public slots:
    void setUuid(QUuid uuid);
    void initDialog();
    void on_pushButton_Back_clicked();
    void slot_ItemClicked(QListWidgetItem* pItem);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void loadPictures();
    void showPicture(const QPixmap& picture, bool draw);
    void drawParameters(QPixmap& picture);

    Ui::DetailDialog* ui;
    int imageShowMode = 0;
    int curRow = 0;
    QString picDir;
    QUuid uuid;
    CI_MainControl* mainCtrl;
    std::unique_ptr<WestblotExperiment> experiment;
};
