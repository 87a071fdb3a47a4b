#include "base/Enumerations.h"

#include <QStringList>

namespace {

int indexOfText(const QStringList& table, const QString& text) {
    for (int i = 0; i < table.size(); ++i) {
        if (table.at(i) == text) {
            return i;
        }
    }
    return table.size();
}

QString textOfValue(const QStringList& table, int value, const char* unknown) {
    if (value < 0 || value >= table.size()) {
        return QString::fromLatin1(unknown);
    }
    return table.at(value);
}

const QStringList& experimentTexts() {
    static const QStringList t{"Varnu", "WesternBlot", "MultFluore"};
    return t;
}

const QStringList& binningTexts() {
    static const QStringList t{"1*1", "2*2", "4*4"};
    return t;
}

const QStringList& machineTexts() {
    static const QStringList t{"Varnu_320", "Varnu_520", "Varnu_550"};
    return t;
}

// Built from the pattern "%1*%2" with width and height.
const QStringList& pelion1MTexts() {
    static const QStringList t = [] {
        const int sizes[][2] = {{1064, 850}, {532, 425}, {266, 212}, {133, 106}};
        QStringList l;
        for (const auto& s : sizes) {
            l << QStringLiteral("%1*%2").arg(s[0]).arg(s[1]);
        }
        return l;
    }();
    return t;
}

// Note the capital X in the first text only.
const QStringList& pelion5MTexts() {
    static const QStringList t{"2592X1944", "1296x972", "648x486", "324x243"};
    return t;
}

}  // namespace

int stringToExperimentType(const QString& text) {
    return indexOfText(experimentTexts(), text);
}
QString experimentTypeToString(const int& value) {
    return textOfValue(experimentTexts(), value, "Unknow ExperimentType.");
}

int stringToBinningMode(const QString& text) {
    return indexOfText(binningTexts(), text);
}
QString binningModeToString(const int& value) {
    return textOfValue(binningTexts(), value, "Unknow BinningMode");
}

int stringToMachineName(const QString& text) {
    return indexOfText(machineTexts(), text);
}
QString machineNameToString(const int& value) {
    return textOfValue(machineTexts(), value, "Unknow MachineName");
}

int stringToZdqPelion1MResolution(const QString& text) {
    return indexOfText(pelion1MTexts(), text);
}
QString zdqPelion1MResolutionToString(const int& value) {
    return textOfValue(pelion1MTexts(), value, "Unknow ZdqPelion1MResolution");
}

int stringToZdqPelion5MResolution(const QString& text) {
    return indexOfText(pelion5MTexts(), text);
}
QString zdqPelion5MResolutionToString(const int& value) {
    return textOfValue(pelion5MTexts(), value, "Unknow ZdqPelion5MResolution");
}
