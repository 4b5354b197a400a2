// The prefixes of the vocabularies the bundle's Turtle files use, as @prefix lines.
#pragma once

namespace vibrascend::lv2turtle::prefix {

constexpr const char* kBufSize = "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n";
constexpr const char* kDoap = "@prefix doap: <http://usefulinc.com/ns/doap#> .\n";
constexpr const char* kFoaf = "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n";
constexpr const char* kLv2 = "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n";
constexpr const char* kOptions = "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n";
constexpr const char* kPortProps = "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n";
constexpr const char* kPresets = "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n";
constexpr const char* kRdf = "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n";
constexpr const char* kRdfs = "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n";
constexpr const char* kState = "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n";
constexpr const char* kUi = "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n";
constexpr const char* kUnits = "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n";
constexpr const char* kUrid = "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n";

}  // namespace vibrascend::lv2turtle::prefix
