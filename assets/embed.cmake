# Turns the asset files into a C++ source with one byte array per file and the
# table embeddedFiles() returns. Run with cmake -P, given ASSET_DIR, NAMES
# (comma separated file names) and OUTPUT.
string(REPLACE "," ";" names "${NAMES}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 24 row)
set(arrays "")
set(table "")
set(index 0)
foreach(name IN LISTS names)
  file(READ "${ASSET_DIR}/${name}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "embed.cmake: ${name} is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${row})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "static const uint8_t file${index}[] = {\n    ${bytes}\n};\n")
  string(APPEND table "    {\"${name}\", file${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(source "// Made by assets/embed.cmake from the files in assets/. Do not edit.
#include \"assets/embedded.h\"

namespace {

${arrays}
const EmbeddedFile files[] = {
${table}};

}  // namespace

std::span<const EmbeddedFile> embeddedFiles() { return files; }
")
file(WRITE "${OUTPUT}.tmp" "${source}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
