// The laser-profile library stand-in: run handles over parameter blocks, the
// ROI, the line search per column and the measurement range.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "ZDQ3DApi.h"
#include "laser3d_control.h"

namespace {

struct RunParam {
    int areaWidth = 0, areaHeight = 0;
    float z0 = 0, zPerRow = 0;
    float range[4] = {};
    int x = 0, y = 0, width = 0, height = 0;  // the ROI within the area
};

struct Runs {
    std::mutex mutex;
    std::map<uint64_t, RunParam> byHandle;
    uint64_t nextHandle = 0x3D0001;
};

// Never destroyed: a camera closed while the process ends still releases
// its handle here.
Runs& runs() {
    static Runs* const instance = new Runs;
    return *instance;
}

std::atomic<int32_t> g_paramLength{LASER3D_BLOCK_BYTES};

int32_t getI32(const unsigned char* block, int at) {
    int32_t v;
    std::memcpy(&v, block + at, sizeof v);
    return v;
}

float getF32(const unsigned char* block, int at) {
    float v;
    std::memcpy(&v, block + at, sizeof v);
    return v;
}

// Per column of a frame, the centroid row of its brightest run of samples
// above the threshold, or -1 when no sample is above it. Row 0 holds the
// frame header. The frame is walked row by row, each column keeping its
// current run and its best one.
void lineRows(const unsigned char* frame, int width, int height, int threshold,
              std::vector<double>& rows) {
    struct Run {
        long sum = 0, weighted = 0;
        long bestSum = 0, bestWeighted = 0;
    };
    std::vector<Run> columns(static_cast<size_t>(width));
    const auto close = [](Run& run) {
        if (run.sum > run.bestSum) {
            run.bestSum = run.sum;
            run.bestWeighted = run.weighted;
        }
        run.sum = run.weighted = 0;
    };
    int open = 0;  // columns inside a run
    for (int r = 1; r < height; ++r) {
        const unsigned char* row = frame + static_cast<size_t>(r) * width;
        if (open == 0) {
            // A row without a sample above the threshold changes nothing.
            unsigned char brightest = 0;
            for (int c = 0; c < width; ++c) {
                brightest = std::max(brightest, row[c]);
            }
            if (brightest <= threshold) {
                continue;
            }
        }
        for (int c = 0; c < width; ++c) {
            Run& run = columns[static_cast<size_t>(c)];
            const int v = row[c];
            if (v > threshold) {
                open += run.sum == 0;
                run.sum += v;
                run.weighted += static_cast<long>(v) * r;
            } else if (run.sum != 0) {
                close(run);
                --open;
            }
        }
    }
    rows.assign(static_cast<size_t>(width), -1.0);
    for (int c = 0; c < width; ++c) {
        Run& run = columns[static_cast<size_t>(c)];
        close(run);
        if (run.bestSum > 0) {
            rows[static_cast<size_t>(c)] =
                static_cast<double>(run.bestWeighted) / static_cast<double>(run.bestSum);
        }
    }
}

}  // namespace

extern "C" {

int ZDQ_3DGetVersion(int* pMajor, int* pMinor) {
    if (pMajor != nullptr) {
        *pMajor = 1;
    }
    if (pMinor != nullptr) {
        *pMinor = 0;
    }
    return 1;
}

int ZDQ_Get3DParamLength(void) {
    return g_paramLength.load();
}

int ZDQ_Init3DRunParam(const unsigned char* pBlock, uint64_t* pHandle) {
    if (pBlock == nullptr || pHandle == nullptr) {
        return -1;
    }
    unsigned char block[LASER3D_BLOCK_BYTES] = {};
    const int32_t length = std::clamp<int32_t>(g_paramLength.load(), 0, LASER3D_BLOCK_BYTES);
    std::memcpy(block, pBlock, static_cast<size_t>(length));
    RunParam run;
    run.areaWidth = getI32(block, LASER3D_AT_WIDTH);
    run.areaHeight = getI32(block, LASER3D_AT_HEIGHT);
    if (block[0] != LASER3D_MAGIC || run.areaWidth <= 0 || run.areaHeight <= 0) {
        return -1;
    }
    run.z0 = getF32(block, LASER3D_AT_Z0);
    run.zPerRow = getF32(block, LASER3D_AT_Z_PER_ROW);
    for (int i = 0; i < 4; ++i) {
        run.range[i] = getF32(block, LASER3D_AT_RANGE + 4 * i);
    }
    run.width = run.areaWidth;
    run.height = run.areaHeight;
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    const uint64_t handle = all.nextHandle++;
    all.byHandle[handle] = run;
    *pHandle = handle;
    return 1;
}

int ZDQ_Uninit3DRunParam(uint64_t handle) {
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    return all.byHandle.erase(handle) == 1 ? 1 : -1;
}

#ifndef LASER3D_WITHOUT_SET_ROI
int ZDQ_Set3DROI(uint64_t handle, int x, int y, int width, int height) {
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    auto it = all.byHandle.find(handle);
    if (it == all.byHandle.end()) {
        return -1;
    }
    RunParam& run = it->second;
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x > run.areaWidth - width ||
        y > run.areaHeight - height) {
        return -1;
    }
    run.x = x;
    run.y = y;
    run.width = width;
    run.height = height;
    return 1;
}
#endif

int ZDQ_ImageToPointCloud(const unsigned char* pFrame, uint64_t handle, int threshold, float* pZ,
                          int* pX) {
    if (pFrame == nullptr || pZ == nullptr || pX == nullptr) {
        return -1;
    }
    RunParam run;
    {
        Runs& all = runs();
        std::lock_guard<std::mutex> lock(all.mutex);
        auto it = all.byHandle.find(handle);
        if (it == all.byHandle.end()) {
            return -1;
        }
        run = it->second;
    }
    std::vector<double> rows;
    lineRows(pFrame, run.width, run.height, threshold, rows);
    for (int c = 0; c < run.width; ++c) {
        const double row = rows[static_cast<size_t>(c)];
        pX[c] = run.x + c;
        pZ[c] =
            row < 0 ? ZDQ3D_INVALID_Z : static_cast<float>(run.z0 + run.zPerRow * (run.y + row));
    }
    return 1;
}

int ZDQ_GetMeasurementRange(uint64_t handle, float* pXFrom, float* pXTo, float* pZFrom,
                            float* pZTo) {
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    auto it = all.byHandle.find(handle);
    if (it == all.byHandle.end()) {
        return -1;
    }
    float* const outs[4] = {pXFrom, pXTo, pZFrom, pZTo};
    for (int i = 0; i < 4; ++i) {
        if (outs[i] != nullptr) {
            *outs[i] = it->second.range[i];
        }
    }
    return 1;
}

void laser3d_sim_set_param_length(int32_t length) {
    g_paramLength = length == 0 ? LASER3D_BLOCK_BYTES : length;
}

int32_t laser3d_sim_open_handles(void) {
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    return static_cast<int32_t>(all.byHandle.size());
}

int laser3d_sim_roi(uint64_t handle, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    Runs& all = runs();
    std::lock_guard<std::mutex> lock(all.mutex);
    auto it = all.byHandle.find(handle);
    if (it == all.byHandle.end()) {
        return 0;
    }
    const RunParam& run = it->second;
    int32_t* const outs[4] = {x, y, width, height};
    const int32_t values[4] = {run.x, run.y, run.width, run.height};
    for (int i = 0; i < 4; ++i) {
        if (outs[i] != nullptr) {
            *outs[i] = values[i];
        }
    }
    return 1;
}

}  // extern "C"
