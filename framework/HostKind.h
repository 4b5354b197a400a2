// Identifies the host application from its name: the kind some behaviour depends on.
#pragma once

constexpr int kHostArdour = 27;
constexpr int kHostWaveLab = 28;

// Case-insensitive substring lookup; 0 when the name matches no known host.
int HostKindFromName(const char* name);
