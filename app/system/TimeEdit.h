#pragma once

#include <QLineEdit>

class Datetime;
class QAction;

// A read-only time field with a calendar button at its end. The button opens
// and closes a date-and-time picker on the page below the field's bar; a
// submitted moment ("yyyy-MM-dd hh:mm:ss") becomes the field's text, and a
// submitted or cancelled pick closes the picker.
class TimeEdit : public QLineEdit {
    Q_OBJECT
  public:
    // `parent` is the bar the field sits in; the picker belongs to the bar's
    // parent and opens at its left edge, at the bar's height.
    explicit TimeEdit(QWidget* parent = nullptr);

    Datetime* picker() const { return m_picker; }
    QAction* calendarAction() const { return m_action; }

  public slots:
    // Opens the picker when it is hidden, closes it when it is shown.
    void onActionClicked();

  private:
    Datetime* m_picker;
    QAction* m_action;
};
