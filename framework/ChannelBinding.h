// Per-channel audio bookkeeping of the plug-in base: the allowed channel pairs and where each
// channel's samples live during a block.
#pragma once

#include "framework/GrowBuf.h"

struct ChannelPair {
    int inputs;
    int outputs;
};

// The scratch buffers hold block-size doubles. An unconnected channel's entries point at its
// scratch: inputs read silence there (in either sample type), outputs write what nothing reads.
struct InChannelBinding {
    bool connected = true;
    double** entry = nullptr;  // this channel's slot in the double input pointer array
    float** entry32 = nullptr;  // and in the float one
    GrowBuf scratch;  // zeros, except while 32-bit input is converted for a double-only effect
};

struct OutChannelBinding {
    bool connected = true;
    double** entry = nullptr;  // this channel's slot in the double output pointer array
    float** entry32 = nullptr;  // and in the float one
    GrowBuf scratch;
    GrowBuf dry;  // block-size doubles: the input that a bypass crossfade mixes in
};
