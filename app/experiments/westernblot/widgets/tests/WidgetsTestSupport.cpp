#include "WidgetsTestSupport.h"

#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"

#include <QCoreApplication>

TestStation& widgetsStation() {
    static TestStation* station = [] {
        auto* made = new TestStation(QStringLiteral("westernblot-widgets"));
        made->writeMachineIni(QStringLiteral("320"), WesternBlot);
        made->setUserOption(QStringLiteral("LanguageID"), 1);
        return made;
    }();
    return *station;
}

CI_MainControl* widgetsController() {
    widgetsStation();
    return CI_MainControl::getInstance();
}

QStringList childOrder(QWidget* parent) {
    QStringList names;
    for (QObject* child : parent->children()) {
        if (child->isWidgetType())
            names << child->objectName();
    }
    return names;
}

QStringList focusOrder(QWidget* root, const QStringList& names) {
    QStringList seen;
    QWidget* first = root->findChild<QWidget*>(names.first());
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName()) && !seen.contains(widget->objectName()))
            seen << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && seen.size() < names.size());
    return seen;
}

void switchLanguage(int language) {
    widgetsController()->changeLanguage(language);
    QCoreApplication::sendPostedEvents();
}
