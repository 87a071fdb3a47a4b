#include "TimeEdit.h"

#include "SystemResources.h"
#include "widgets/Datetime.h"

#include <QAction>
#include <QIcon>

namespace {
const QString kCalendarIcon = QStringLiteral("://Image/calendar.png");
const QString kCalendarOpenIcon = QStringLiteral("://Image/calendar_check.png");
}  // namespace

TimeEdit::TimeEdit(QWidget* parent) : QLineEdit(parent) {
    ensureSystemResources();
    setReadOnly(true);
    QWidget* pickerParent = parent != nullptr ? parent->parentWidget() : nullptr;
    m_picker = new Datetime(pickerParent);
    m_picker->hide();
    m_picker->move(0, parent != nullptr ? parent->height() : 0);
    connect(m_picker, &Datetime::sendtime, this, [this](const QString& time) {
        setText(time);
        onActionClicked();
    });
    connect(m_picker, &Datetime::signals_cancel, this, &TimeEdit::onActionClicked);

    m_action = new QAction(this);
    m_action->setIcon(QIcon(kCalendarIcon));
    addAction(m_action, QLineEdit::TrailingPosition);
    connect(m_action, &QAction::triggered, this, &TimeEdit::onActionClicked);
}

void TimeEdit::onActionClicked() {
    if (m_picker->isVisible()) {
        m_action->setIcon(QIcon(kCalendarIcon));
        m_picker->hide();
    } else {
        m_action->setIcon(QIcon(kCalendarOpenIcon));
        m_picker->show();
        m_picker->raise();
    }
}
