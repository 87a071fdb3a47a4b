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

void switchLanguage(int language) {
    widgetsController()->changeLanguage(language);
    QCoreApplication::sendPostedEvents();
}
