#pragma once

#include <QLineEdit>

// Time-field line edit that puts "0" into itself when it loses the focus while empty.
class LineEditTime : public QLineEdit {
  public:
    explicit LineEditTime(QWidget* parent = nullptr);

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};
