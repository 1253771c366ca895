// The art and sound files built into the executable.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct EmbeddedFile {
  std::string_view name;  // file name in assets/, e.g. "ship3.bmp"
  std::span<const uint8_t> data;
};

// Every embedded file.
std::span<const EmbeddedFile> embeddedFiles();

// The named file's bytes, or an empty span when there is no such file.
std::span<const uint8_t> embeddedFile(std::string_view name);
