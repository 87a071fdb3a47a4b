#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

// The function area of the report page: report management and report
// printing. It stands as a notice until the report pages are part of the
// program.
class RP_FuncFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RP_FuncFrame(QWidget* parent = nullptr);

  public slots:
    // Shows report management (0; `expand` opens or closes its experiment
    // tree) or report printing (1); any other value is the fatal message
    // "Unknow RP_FuncFrameType.".
    void slot_ChangeFuncFrame(RP_FuncFrameType funcFrameType, bool expand);
};
