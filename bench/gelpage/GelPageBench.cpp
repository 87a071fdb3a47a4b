// The gel/UV camera road on a 2592 x 1944 monochrome simulated camera in
// instant mode, offscreen:
//   BM_SurfaceKeepsUp    the SDK previews into a 1000 x 750 PreviewSurface for
//                        three seconds; frames received and painted a second
//                        (goal: at least 60 painted, no backlog: at most one
//                        repaint is ever queued).
//   BM_CaptureOverhead   a single capture from start to a picture written
//                        twice and handed over, less its exposure (goal:
//                        at most 300 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "camera/GelPictureFiles.h"
#include "camera/PreviewSurface.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqCaptureThread.h"
#include "camera/ZdqPreviewThread.h"
#include "controller/CI_MainControl.h"
#include "database/Varnu_ExperimentDB.h"
#include "mlusbimager_control.h"

namespace {

constexpr int kExposureMs = 10;

CI_MainControl* station() {
    static QTemporaryDir* folder = [] {
        auto* dir = new QTemporaryDir();
        qputenv("VARNU_HOME", dir->path().toLocal8Bit());
        return dir;
    }();
    (void)folder;
    static CI_MainControl* control = [] {
        MlSimProfile profile{};
        mlsim_profile_default(9, &profile);
        profile.content = MLSIM_CONTENT_SCENE;
        profile.timing = MLSIM_TIMING_INSTANT;
        mlsim_plug(0, &profile);
        CI_MainControl* c = CI_MainControl::getInstance();
        c->machineName = Varnu_520;
        c->camOpt.zdqCurrentCamSet.Exposure = kExposureMs;
        c->camOpt.zdqCurrentCamSet.Gain = 8;
        c->camOpt.saveZdqCurrentCamSet();
        c->userOpt.storagePath = QDir::tempPath() + QStringLiteral("/bench_gelpage_store");
        c->userOpt.saveUserOpt(UserOpt_storagePath);
        return c;
    }();
    return control;
}

void BM_SurfaceKeepsUp(benchmark::State& state) {
    CI_MainControl* control = station();
    PreviewSurface surface;
    surface.resize(1000, 750);
    surface.show();
    double painted = 0, received = 0, seconds = 0;
    for (auto _ : state) {
        ZdqPreviewThread thread;
        thread.setPreviewWindow(surface.handle(), 1000, 750);
        thread.start();
        thread.wait();
        const int painted0 = surface.framesPainted();
        const int received0 = surface.framesReceived();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        painted += surface.framesPainted() - painted0;
        received += surface.framesReceived() - received0;
        seconds += timer.elapsed() / 1000.0;
        control->zdqCameraCtrl->ZDQ_PreviewStart(0, false);
        control->zdqCameraCtrl->ZDQ_UnInit();
    }
    state.counters["painted_per_s"] = painted / seconds;
    state.counters["received_per_s"] = received / seconds;
}
BENCHMARK(BM_SurfaceKeepsUp)->Iterations(1)->Unit(benchmark::kSecond);

void BM_CaptureOverhead(benchmark::State& state) {
    CI_MainControl* control = station();
    double overheadMs = 0;
    int runs = 0;
    for (auto _ : state) {
        VarnuExperiment row;
        row.name = QStringLiteral("Varnu001");
        row.dateTime = QDateTime::currentDateTime();
        control->varnuExperimentDB->insertExperiment(row);
        QElapsedTimer timer;
        timer.start();
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.start();
        thread.wait();
        overheadMs += timer.nsecsElapsed() / 1e6 - kExposureMs;
        ++runs;
        if (!thread.captured()) {
            state.SkipWithError("no picture");
            return;
        }
    }
    state.counters["overhead_ms"] = overheadMs / runs;
}
BENCHMARK(BM_CaptureOverhead)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
