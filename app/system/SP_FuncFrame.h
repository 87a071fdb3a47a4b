#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

// The function area of the system page (user management, sample types,
// report titles, device settings, system information). It stands as a
// notice until the administration pages are part of the program.
class SP_FuncFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SP_FuncFrame(QWidget* parent = nullptr);

  public slots:
    // Shows the sub-page of the given number (0 to 4); any other value is the
    // fatal message "Unknow SP_FuncFrameType.".
    void slot_ChangeFuncFrame(SP_FuncFrameType funcFrameType);
};
