#pragma once

#include "settings/UserOpts.h"

#include <QDialog>
#include <QStringList>

class CI_MainControl;
class QShowEvent;

namespace Ui {
class ExpTimeSetDialog;
}

// The exposure times of a manual series, one page a picture: minutes,
// seconds and milliseconds of picture k of n, with arrows to the previous
// and next picture. Every page the user leaves is written at once to the
// settings as ExpTime_<k> (three decimal texts); OK writes the shown page
// too, Cancel drops only the shown page's changes.
class ExpTimeSetDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ExpTimeSetDialog(QWidget* parent = nullptr);
    ~ExpTimeSetDialog() override;

  protected:
    void showEvent(QShowEvent* event) override;

  public slots:
    // Number of pictures of the series; the dialog starts again at picture 1.
    void setCapCount(int count);

  private slots:
    void on_pushButton_Ok_clicked();
    void on_pushButton_Cancel_clicked();
    void on_pushButton_Prev_clicked();
    void on_pushButton_Next_clicked();

  public slots:
    // Writes ExpTime_<index> (1 to 10; any other index is ignored). False
    // when the settings file could not be written: told to the user, and the
    // member holds the stored list again.
    bool saveExpTimeToIni(QStringList timeList, int index);
    bool saveExpTimeToIni(QStringList& expTime, QStringList timeList, UserOptType userOpt);
    // ExpTime_<index> as the settings file holds it (empty outside 1 to 10).
    QStringList loadExpTimeFromIni(int index);

  private:
    // The settings member and key number of ExpTime_<index>.
    QStringList* expTimeMember(int index);
    static UserOptType expTimeKey(int index);
    bool savePage();
    void showPage();

    Ui::ExpTimeSetDialog* ui;
    int capCount = 0;
    int curCapIndex = 1;
    CI_MainControl* mainCtrl;
};
