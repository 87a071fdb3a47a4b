#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QUuid>

#include <memory>
#include <vector>

namespace Ui {
class Varnu_DetailDialog;
}
class CI_MainControl;
class CheckLoginDialog;
struct VarnuExperiment;

// The pictures of one or more gel/UV experiments: a strip of thumbnails,
// one per experiment, and the selected picture large with its capture
// parameters in red at the lower right (unless the watermark option is
// off). Export writes the selected picture as TIFF at 600 or 300 dpi, or as
// BMP, JPEG or PNG.
//
// Use: construct, setUuids, initDialog, exec.
class Varnu_DetailDialog : public QDialog {
    Q_OBJECT
  public:
    explicit Varnu_DetailDialog(QWidget* parent = nullptr);
    ~Varnu_DetailDialog() override;

    // Keeps the list and loads the gel/UV record of every uuid; a uuid with
    // none (a western-blot experiment, a deleted one) is left out.
    void setUuids(const QList<QUuid>& uuids);
    void initDialog();

    // The picture file of a record: its folder + its name without the
    // leading "Varnu" + ".tif".
    static QString pictureFileName(const VarnuExperiment& record);
    int recordCount() const { return static_cast<int>(records.size()); }
    const VarnuExperiment* currentRecord() const { return m_currentRecord; }

  public slots:
    void currentRowChangedHandle(int currentRow);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Back_clicked();
    void on_pushButton_Export_clicked();

  private:
    void loadPictures();
    void showPicture(const QPixmap& picture, bool draw);
    void drawParameters(QPixmap& picture);
    // Writes the current picture under a name the user chooses.
    void exportCurrentPicture();
    void writeAuditPair(const QString& fileName);

    Ui::Varnu_DetailDialog* ui;
    QList<QUuid> uuids;
    int imageShowMode = 0;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
    std::vector<std::unique_ptr<VarnuExperiment>> records;
    const VarnuExperiment* m_currentRecord = nullptr;
};
