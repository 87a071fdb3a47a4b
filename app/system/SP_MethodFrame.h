#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

// The menu column of the system page. It stands as a notice until the
// administration pages are part of the program.
class SP_MethodFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SP_MethodFrame(QWidget* parent = nullptr);

  signals:
    // A menu entry was chosen.
    void sig_ChangeFuncFrame(SP_FuncFrameType funcFrameType);
};
