// Opening a camera of each sensor unit with registers of its own: plug the simulated
// camera (instant timing), ZDQ_Init, the device's opening up to the sensor
// unit's initialisation and the fields of view, then ZDQ_UnInit. The goal is
// at most 50 ms an opening.
#include <benchmark/benchmark.h>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "mlusbimager_control.h"

namespace {

void BM_OpenCamera(benchmark::State& state) {
    const int nType = static_cast<int>(state.range(0));
    MlSimProfile profile;
    mlsim_profile_default(nType, &profile);
    profile.timing = MLSIM_TIMING_INSTANT;
    for (auto _ : state) {
        mlsim_unplug_all();
        mlsim_plug(0, &profile);
        ZDQ_Init();
        if (FrameGetDevice(0) == nullptr) {
            state.SkipWithError("the camera did not open");
            break;
        }
        ZDQ_UnInit();
    }
    mlsim_unplug_all();
}
BENCHMARK(BM_OpenCamera)
    ->ArgName("type")
    ->Args({86})
    ->Args({88})
    ->Args({94})
    ->Args({96})
    ->Args({102})
    ->Args({113})
    ->Args({115})
    ->Args({119})
    ->Args({121})
    ->Args({122})
    ->Args({123})
    ->Args({13})
    ->Args({14})
    ->Args({17})
    ->Args({27})
    ->Args({28})
    ->Args({46})
    ->Args({48})
    ->Args({56})
    ->Args({58})
    ->Args({62})
    ->Args({64})
    ->Args({90})
    ->Args({108})
    ->Args({110})
    ->Args({111})
    ->Args({117})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
