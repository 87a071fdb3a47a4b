#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>

ModalDriver::ModalDriver(QObject* parent) : QObject(parent) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start();
}

ModalDriver::~ModalDriver() = default;

ModalDriver& ModalDriver::answerMessageBox(QMessageBox::StandardButton button) {
    Step s;
    s.messageBox = true;
    s.button = button;
    m_steps.push_back(std::move(s));
    return *this;
}

ModalDriver& ModalDriver::onDialog(std::function<void(QDialog*)> action) {
    Step s;
    s.action = std::move(action);
    m_steps.push_back(std::move(s));
    return *this;
}

QWidget* ModalDriver::visibleModal() const {
    if (QWidget* w = QApplication::activeModalWidget()) {
        return w;
    }
    // Offscreen windows are not always activated; look for a shown modal.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->isVisible() && w->isModal()) {
            return w;
        }
    }
    return nullptr;
}

void ModalDriver::poll() {
    if (m_next >= m_steps.size()) {
        return;
    }
    if (m_lastHandled && !m_lastHandled->isVisible()) {
        m_lastHandled = nullptr;
    }
    QWidget* modal = visibleModal();
    if (modal == nullptr || modal == m_lastHandled) {
        return;
    }
    const Step& step = m_steps[m_next];
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (step.messageBox != (box != nullptr)) {
        return;  // Not the window this step waits for (yet).
    }
    ++m_next;
    m_lastHandled = modal;
    // Acted on from a fresh event, not from inside this timer slot: the action
    // may open a modal window of its own, whose event loop must see this
    // timer fire again.
    if (box != nullptr) {
        m_messages << box->windowTitle() + QLatin1Char('|') + box->text();
        m_informativeTexts << box->informativeText();
        const QMessageBox::StandardButton button = step.button;
        QPointer<QMessageBox> target(box);
        QTimer::singleShot(0, this, [target, button] {
            if (!target) {
                return;
            }
            if (QAbstractButton* b = target->button(button)) {
                b->click();
            } else {
                target->done(button);
            }
        });
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        QPointer<QDialog> target(dialog);
        std::function<void(QDialog*)> action = step.action;
        QTimer::singleShot(0, this, [target, action] {
            if (target) {
                action(target);
            }
        });
    }
}
