#pragma once

// The tool panels of the image-processing page's tool area. The type travels
// in a signal connected by its signature text, so it is spelled unqualified.
enum ImageToolsFrameType {
    ImageTools_BCG = 0,
    ImageTools_HistogramAdjust,
    ImageTools_MergeTwo,
    ImageTools_MergeThree,
    ImageTools_RGB
};
