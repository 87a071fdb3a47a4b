#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

// Answers modal windows by script while a test runs code that opens them
// (QDialog::exec, QMessageBox::warning, ...). Each step waits for the next
// modal window to appear and acts on it once: a message box is answered with
// a button (its title and text are recorded), any other dialog is handed to
// a function. A poll timer on the GUI thread drives the steps, so it runs
// inside the nested event loop of the modal window.
class ModalDriver : public QObject {
    Q_OBJECT
  public:
    explicit ModalDriver(QObject* parent = nullptr);
    ~ModalDriver() override;

    // Answers the next message box with `button`.
    ModalDriver& answerMessageBox(QMessageBox::StandardButton button = QMessageBox::Ok);
    // Hands the next modal dialog that is not a message box to `action`.
    ModalDriver& onDialog(std::function<void(QDialog*)> action);

    // "title|text" of every message box answered so far, in order.
    QStringList messages() const { return m_messages; }
    // The informative text (the line under the text) of each of those boxes.
    QStringList informativeTexts() const { return m_informativeTexts; }
    // Steps not yet used.
    int pendingSteps() const { return static_cast<int>(m_steps.size() - m_next); }

  private:
    struct Step {
        bool messageBox = false;
        QMessageBox::StandardButton button = QMessageBox::Ok;
        std::function<void(QDialog*)> action;
    };
    void poll();
    QWidget* visibleModal() const;

    QTimer m_timer;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    // The window handled last; the same window is handled again only after
    // another one was handled in between (or it was hidden).
    QPointer<QWidget> m_lastHandled;
    QStringList m_messages;
    QStringList m_informativeTexts;
};
