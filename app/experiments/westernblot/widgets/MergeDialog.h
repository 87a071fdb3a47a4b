#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

class CI_MainControl;
class QListWidgetItem;

namespace Ui {
class MergeDialog;
}

// Merges two pictures of the current western-blot experiment into a new one
// (their pixel-by-pixel product), saved under the time of the merge in both
// picture folders of the experiment. Lists the experiment's pictures as
// ticked thumbnails, shows the one clicked last, and deletes merged pictures;
// the pictures the capture produced are protected.
class MergeDialog : public QDialog {
    Q_OBJECT

  public:
    explicit MergeDialog(QWidget* parent = nullptr);
    ~MergeDialog() override;

    // The product of two pictures, of the first one's size, as 24-bit RGB:
    // each channel a x b / 255 (in double precision, truncated); where the
    // second picture has no pixel it counts 0.
    static QImage mergeImages(QImage first, QImage second);

    // The stretch the page shows picture `name` with (its histogram range);
    // every other 16-bit picture is shown over its own lowest and highest
    // sample. Called before initDialog().
    void setShownStretch(const QString& name, int minimum, int maximum);

  public slots:
    // Folders, list and protected pictures of the current experiment; called
    // once before exec().
    void initDialog();

  private slots:
    void on_pushButton_Comfirm_clicked();
    void on_pushButton_Delete_clicked();
    void on_pushButton_Back_clicked();
    void slot_ItemClicked(QListWidgetItem* pItem);

  private:
    // Names of the "*.tif" files of the main folder by name, or one empty
    // name when there is none.
    QStringList listPictures() const;
    // A picture of the main folder by name, checked against the picture
    // limits before it is decoded; null when it cannot be read, and null with
    // the name added to `refused` when it is too large.
    QImage loadPicture(const QString& name, QStringList* refused = nullptr) const;
    // A picture of the main folder as the page would show it: stretched as
    // setShownStretch says, or over its own range.
    QImage screenPicture(const QString& name, QStringList* refused = nullptr) const;
    void refreshList();
    void showPicture(const QPixmap& picture);
    // Saves the merged picture in one folder; false (and the user told) when
    // it could not be written.
    bool saveMerged(const QImage& merged, const QString& folder, const QString& name);
    void warn(const QString& text);

    Ui::MergeDialog* ui;
    QString mainFolder;
    QString copyFolder;
    CI_MainControl* mainCtrl;
    QStringList originPictures;
    int imageShowMode = 0;
    QString stretchedName;
    int stretchMinimum = 0;
    int stretchMaximum = 0;
};
