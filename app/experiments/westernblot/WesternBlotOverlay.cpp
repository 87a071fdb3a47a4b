#include "WesternBlotOverlay.h"

#include "base/Enumerations.h"
#include "database/Westblot_ExperimentDB.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kLeftFromRight = 150;
constexpr int kLastBaseline = 10;
constexpr int kLineStep = 15;
constexpr int kFontPixels = 15;

// Entry `index` of a list stored as "a,b,c," (empty past its end).
QString listEntry(const QString& list, int index) {
    const QStringList entries = list.split(QLatin1Char(','));
    return index >= 0 && index < entries.size() ? entries.at(index) : QString();
}

}  // namespace

QStringList westernBlotOverlayLines(const WestblotExperiment& record, int index) {
    const QString exposure = listEntry(record.exposureTime, index);
    if (exposure.isEmpty()) {
        return {};
    }
    return {QCoreApplication::translate("WesternBlotOverlay", "Binning:    ") +
                binningModeToString(record.binning),
            QCoreApplication::translate("WesternBlotOverlay", "Exposure:   ") + exposure,
            QCoreApplication::translate("WesternBlotOverlay", "Gain:       ") +
                listEntry(record.gain, index),
            QCoreApplication::translate("WesternBlotOverlay", "BlackLevel: ") +
                QString::number(record.blackLevel),
            QCoreApplication::translate("WesternBlotOverlay", "Contrast:   ") +
                QString::number(record.contrast),
            QCoreApplication::translate("WesternBlotOverlay", "Gamma:      ") +
                QString::number(record.gamma)};
}

void drawWesternBlotOverlay(QPixmap& pixmap, const QStringList& lines) {
    if (lines.isEmpty()) {
        return;
    }
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.setPen(Qt::red);
    QFont font = painter.font();
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    const int x = pixmap.width() - kLeftFromRight;
    int baseline = pixmap.height() - kLastBaseline - kLineStep * (lines.size() - 1);
    for (const QString& line : lines) {
        painter.drawText(x, baseline, line);
        baseline += kLineStep;
    }
}
