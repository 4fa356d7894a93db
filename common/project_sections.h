#pragma once
// The sections of a project file, each named once for every tool that keeps keys in it.
#include <string_view>

namespace ovd::section {

inline constexpr std::string_view kGlobal = "Global";  // the study's files, shared by the tools
inline constexpr std::string_view kConversion = "PrevodSouboru";
inline constexpr std::string_view kGrid = "NovyRefer";
inline constexpr std::string_view kTerrain = "PrevodVyskopisu";
inline constexpr std::string_view kHeights = "DopocetVysky";
inline constexpr std::string_view kCoordRecompute = "PrepocetSouradnic";
inline constexpr std::string_view kCoordTable = "PrevodTxtSouradnic";
inline constexpr std::string_view kCoefficients = "Koeficienty";
inline constexpr std::string_view kMatrixExport = "MaticeExport";
inline constexpr std::string_view kAnnual = "VypocetRocni";
inline constexpr std::string_view kDaily = "VypocetDenni";
inline constexpr std::string_view kDbfExport = "DbfExport";
inline constexpr std::string_view kIsolines = "Izolinie";
inline constexpr std::string_view kMap = "Mapa";
inline constexpr std::string_view kScaleGroups = "ZmenaEmisi";
// What each run read, signed beside what it wrote (app/run_signatures.h); not a setting.
inline constexpr std::string_view kSignatures = "Podpisy";

}  // namespace ovd::section
