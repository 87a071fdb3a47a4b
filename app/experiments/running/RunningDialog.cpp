#include "RunningDialog.h"

#include "ui_RunningDialog.h"

#include "base/Enumerations.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"

#include <QGraphicsDropShadowEffect>
#include <QtDebug>

namespace {

constexpr int kTickMs = 50;
constexpr int kManualPictureAllowance = 6000;

// Minutes, seconds and milliseconds of one entry; a missing or non-numeric
// text counts 0.
int entryMilliseconds(const QStringList& entry) {
    const int factors[] = {60000, 1000, 1};
    int total = 0;
    for (int i = 0; i < 3 && i < entry.size(); ++i) {
        total += entry.at(i).toInt() * factors[i];
    }
    return total;
}

// With time accumulation the entries count from the start of the series, so
// the series lasts as long as its last entry.
int manualSeriesTime(const QList<QStringList>& entries, bool timeAccumulate) {
    if (entries.isEmpty()) {
        return 0;
    }
    int total = 0;
    if (timeAccumulate) {
        total = entryMilliseconds(entries.last());
    } else {
        for (const QStringList& entry : entries) {
            total += entryMilliseconds(entry);
        }
    }
    return total + entries.size() * kManualPictureAllowance;
}

}  // namespace

RunningDialog::RunningDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::RunningDialog), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->frame_Running->setAttribute(Qt::WA_TranslucentBackground);
    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_Running);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#3b3939")));
    shadow->setBlurRadius(30);
    ui->frame_Running->setGraphicsEffect(shadow);
}

RunningDialog::~RunningDialog() {
    delete ui;
}

void RunningDialog::setAccCapture(bool accumulate) {
    m_accCapture = accumulate;
}

int RunningDialog::totalCapTime() {
    CamOpts& cam = m_mainControl->camOpt;
    UserOpts& user = m_mainControl->userOpt;
    switch (m_mainControl->expType) {
        case Varnu: {
            cam.loadZdqCurrentCamSet();
            const ZdqCamSet& set = cam.zdqCurrentCamSet;
            return m_accCapture ? set.Exposure * set.SignalAccNum : set.Exposure;
        }
        case WesternBlot: {
            user.loadUserOpt(UserOpt_WbMarker);
            int marker = 0;
            if (!user.WbMarker) {
                cam.loadTucsenCurrentCamSet();
                marker = cam.tucsenCurrentCamSet.ExposurePre;
            }
            switch (TucsenCamCtrl::getInstance()->curFuncFrameType) {
                case 0:
                    user.loadUserOpt(UserOpt_ExpTime);
                    return marker + user.ExpTime + 8000;
                case 1:
                    cam.loadTucsenCurrentCamSet();
                    return marker + manualSeriesTime(user.loadExpTimeList(),
                                                     cam.tucsenCurrentCamSet.TimeAcc);
                default:
                    qFatal("Unknow WesternBlot_FuncsFrameType.");
            }
            return 0;
        }
        case MultFluore:
            return 0;
        default:
            qFatal("Unknow ExperimentType.");
    }
    return 0;
}

void RunningDialog::startProgress() {
    const int total = totalCapTime();
    qDebug() << "totalCapTime:" << total;
    ui->progressBar->setRange(0, total);
    ui->progressBar->setValue(0);
    m_tick = 1;
    connect(&m_timer, &QTimer::timeout, this, &RunningDialog::tick, Qt::UniqueConnection);
    m_timer.start(kTickMs);
}

void RunningDialog::tick() {
    ui->progressBar->setValue(m_tick * kTickMs);
    ++m_tick;
    ui->progressBar->repaint();
}

void RunningDialog::on_pushButton_Stop_clicked() {
    emit stopCapThread();
}

void RunningDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Dialog"));
        ui->pushButton_Stop->setText(QString());
        ui->label_CapProgress->setText(QString());
    }
    event->accept();
}
