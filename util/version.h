// The program's name and version (one home: CMake's project version) and the option that asks for them.
#pragma once
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "orelog_version.h"

namespace orelog {

inline constexpr std::string_view kVersionOption = "--version";
inline constexpr std::string_view kVersionLine = ORELOG_VERSION_LINE;  // "Orelog 1.0"

// Whether a program's arguments (its own name left out) ask for the version line and nothing else.
inline bool asksForVersion(std::span<const std::string> args) {
  return !args.empty() && args.front() == kVersionOption;
}

// Prints the version line on standard output; the program's exit code: 0, or 1 when it cannot be written.
inline int printVersionLine() {
  return std::puts(ORELOG_VERSION_LINE) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace orelog
