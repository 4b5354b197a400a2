// The brain-wave band a frequency falls into, as the text the editor shows under each LFO.
#pragma once

// "EPSILON" below 0.5 Hz, "DELTA", "THETA", "ALPHA", "BETA", "GAMMA", "LAMBDA" from 100 Hz up.
const char* BandNameOf(float hz);
