// IBlend: how a drawing operation combines with what is already there.
// method 0 draws with the source's own alpha, 1 copies opaquely, 2 adds,
// 3 dodges; weight (0.0-1.0) scales the operation.
#pragma once

struct IBlend {
    enum Method : int {
        kSourceAlpha = 0,
        kCopy = 1,
        kAdd = 2,
        kDodge = 3
    };

    int method = kSourceAlpha;
    float weight = 1.0f;
};
