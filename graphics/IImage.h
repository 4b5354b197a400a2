// IImage: a non-owning handle to a decoded image (a strip of N frames).
// The bitmap belongs to the process-wide image cache.
#pragma once

class PIX_IBitmap;

struct IImage {
    PIX_IBitmap* bitmap = nullptr;
    int W = 0, H = 0;  // pixel size of the whole image
    int N = 1;  // number of frames in the strip
    bool horizontal = false;
};
