#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class AuditTrailPageFrame;
}
class CI_MainControl;

// The audit-trail page: what each user did, newest first, thirty rows a
// page, in the interface language. The user filters by handler and by a time
// range picked in local time, pages back and forth and turns to a page. The
// page only reads the audit trail.
//
// Times are stored in UTC; the page shows them in local time and turns the
// picked local bounds into UTC before it asks the store. Every change of a
// filter starts again at page 1.
class AuditTrailPageFrame : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kRowsPerPage = 30;

    explicit AuditTrailPageFrame(QWidget* parent = nullptr);
    ~AuditTrailPageFrame() override;

    // Shows the page in its reset state: the user list reloaded, no filter,
    // page 1.
    void showPage();
    void initUserComboBox();
    void updatePageLabel();
    void queryPage();

    int currentPage() const { return m_currentPage; }
    int recordCount() const { return m_recordCount; }
    // Pages of the last count: 0 rows make 0 pages.
    int pageCount() const;

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_pre_clicked();
    void on_pushButton_next_clicked();
    void on_comboBox_user_currentIndexChanged(int index);
    void on_pushButton_search_clicked();
    void on_pushButton_reset_clicked();
    void on_lineEdit_turnToPage_returnPressed();
    void on_pushButton_turn_clicked();

  private:
    // Counts the rows of the filters in force (user from the combo box).
    void countRecords();
    void turnToTypedPage();

    int m_currentPage = 0;
    int m_recordCount = 0;
    QString m_startTime;  // local "yyyy-MM-dd hh:mm:ss", "" for none
    QString m_endTime;
    Ui::AuditTrailPageFrame* ui;
    CI_MainControl* mainCtrl;
};
