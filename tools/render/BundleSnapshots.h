// The editor pictures a bundle carries for hosts' plug-in browsers:
// Contents/Resources/Snapshots/<class id>_snapshot.png and _snapshot_<scale>x.png.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vibrascend::render {

struct SnapshotFile {
    double scale = 1.0;
    std::string path;  // relative to the bundle's Contents/Resources, with '/' separators
};

// Draws the editor at its defaults once and writes it at scale 1 and, every pixel doubled, at
// scale 2 into `resources`/Snapshots, named after `classId`. Throws HostError.
void DrawSnapshots(const std::filesystem::path& bundle, const std::filesystem::path& resources,
                   const std::string& classId);

// The snapshot files of `classId` found in `resources`/Snapshots, smallest scale first.
std::vector<SnapshotFile> FindSnapshots(const std::filesystem::path& resources, const std::string& classId);

}  // namespace vibrascend::render
