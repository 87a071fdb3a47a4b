#pragma once

#include <QTextEdit>

// The borderless editor a text label is typed in; losing the focus commits.
class ImageProcessTextEdit : public QTextEdit {
    Q_OBJECT
  public:
    explicit ImageProcessTextEdit(QWidget* parent = nullptr);

  signals:
    void updateTextEdit();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};
