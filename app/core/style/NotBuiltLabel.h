#pragma once

#include <QLabel>

// The centred notice a page shows while its own content is not part of the
// program yet; follows language changes by itself.
class NotBuiltLabel : public QLabel {
    Q_OBJECT
  public:
    explicit NotBuiltLabel(QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void retranslate();
};
