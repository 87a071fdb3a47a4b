#pragma once

#include <QFrame>
#include <QList>
#include <QUuid>

namespace Ui {
class RP_ReportManageFrame;
}
class CI_MainControl;
class CheckLoginDialog;
class QTreeWidgetItem;
struct VarnuExperiment;

// The report list: every experiment grouped by calendar day, newest first.
// Checked gel/UV experiments can be deleted with their picture files (the
// report-management right and the password re-check guard it); Detail and a
// double-click open the gel/UV detail dialog. The tree is rebuilt each time
// the frame is shown.
class RP_ReportManageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RP_ReportManageFrame(QWidget* parent = nullptr);
    ~RP_ReportManageFrame() override;

    void loadReportTree();

  public slots:
    void expandTreeWidgetHandle(bool expand);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Delete_clicked();
    void on_pushButton_Detail_clicked();
    void on_treeWidget_Report_itemDoubleClicked(QTreeWidgetItem* item, int column);

  private:
    void initTreeHeader();
    void deleteCheckedExperiments();
    // Removes the experiment of a row (its files, audited, and its record)
    // and takes the row out of the tree.
    void deleteExperimentRow(QTreeWidgetItem* row);
    void removeEmptyDays();
    void writeAuditPair(const QString& path);
    void showDetail(const QList<QUuid>& uuids);

    Ui::RP_ReportManageFrame* ui;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
};
