#include "BundleSnapshots.h"

#include "Commands.h"
#include "PngFile.h"
#include "PngRead.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace vibrascend::render {

namespace {

constexpr const char* kFolder = "Snapshots";
constexpr const char* kSuffix = ".png";

std::string SnapshotName(const std::string& classId, int scale)
{
    std::string name = classId + "_snapshot";
    if (scale != 1) {
        name += '_';
        name += std::to_string(scale);
        name += ".0x";
    }
    return name + kSuffix;
}

// Each source pixel becomes a 2 x 2 block: the same picture at double size, without blending.
PngPixels DoubleSize(const PngPixels& source)
{
    PngPixels doubled;
    doubled.width = source.width * 2;
    doubled.height = source.height * 2;
    doubled.pixels.resize(static_cast<std::size_t>(doubled.width) * doubled.height);
    for (int y = 0; y < doubled.height; ++y) {
        for (int x = 0; x < doubled.width; ++x) {
            doubled.pixels[static_cast<std::size_t>(y) * doubled.width + x] =
                source.pixels[static_cast<std::size_t>(y / 2) * source.width + x / 2];
        }
    }
    return doubled;
}

}  // namespace

void DrawSnapshots(const std::filesystem::path& bundle, const std::filesystem::path& resources,
                   const std::string& classId)
{
    const std::filesystem::path folder = resources / kFolder;
    std::filesystem::create_directories(folder);
    host::CommandLine line;
    line.command = host::Command::Snapshot;
    line.output = folder / SnapshotName(classId, 1);
    RunSnapshot(line, bundle);
    const PngPixels doubled = DoubleSize(ReadPng(line.output));
    WritePng(folder / SnapshotName(classId, 2), doubled.pixels, doubled.width, doubled.height);
}

std::vector<SnapshotFile> FindSnapshots(const std::filesystem::path& resources, const std::string& classId)
{
    std::vector<SnapshotFile> found;
    std::error_code error;
    const std::string prefix = classId + "_snapshot";
    for (const auto& entry : std::filesystem::directory_iterator(resources / kFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || !name.starts_with(prefix) || !name.ends_with(kSuffix))
            continue;
        // "<id>_snapshot.png" is scale 1, "<id>_snapshot_<scale>x.png" any other.
        std::string_view scaleText(name);
        scaleText = scaleText.substr(prefix.size(), scaleText.size() - prefix.size() - std::string_view(kSuffix).size());
        double scale = 1.0;
        if (!scaleText.empty()) {
            if (!scaleText.starts_with('_') || !scaleText.ends_with('x'))
                continue;
            scaleText = scaleText.substr(1, scaleText.size() - 2);
            const auto [end, failed] = std::from_chars(scaleText.data(), scaleText.data() + scaleText.size(), scale);
            if (failed != std::errc() || end != scaleText.data() + scaleText.size() || !(scale > 0.0))
                continue;
        }
        found.push_back({scale, std::string(kFolder) + "/" + name});
    }
    std::sort(found.begin(), found.end(), [](const SnapshotFile& a, const SnapshotFile& b) { return a.scale < b.scale; });
    return found;
}

}  // namespace vibrascend::render
