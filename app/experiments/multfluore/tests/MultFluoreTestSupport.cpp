#include "MultFluoreTestSupport.h"

#include "controller/CI_MainControl.h"

TestStation& multFluoreStation() {
    static TestStation* station = [] {
        auto* made = new TestStation(QStringLiteral("multfluore"));
        made->writeMachineIni(QStringLiteral("320"), MultFluore);
        made->setUserOption(QStringLiteral("LanguageID"), 1);
        return made;
    }();
    return *station;
}

CI_MainControl* multFluoreController() {
    multFluoreStation();
    return CI_MainControl::getInstance();
}
