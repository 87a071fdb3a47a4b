#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class RP_FuncFrame;
}

// The function area of the report page: the report list or the report-print
// frame, one at a time. It passes the method column's expand request on to
// the report list.
class RP_FuncFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RP_FuncFrame(QWidget* parent = nullptr);
    ~RP_FuncFrame() override;

  signals:
    void expandTreeWidget(bool expand);

  public slots:
    // Shows the report list (0; `expand` opens or closes all its days) or
    // the report-print frame (1); any other value is the fatal message
    // "Unknow RP_FuncFrameType.".
    void slot_ChangeFuncFrame(RP_FuncFrameType funcFrameType, bool expand);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::RP_FuncFrame* ui;
};
