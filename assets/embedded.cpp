#include "assets/embedded.h"

std::span<const uint8_t> embeddedFile(std::string_view name) {
  for (const auto& file : embeddedFiles())
    if (file.name == name) return file.data;
  return {};
}
