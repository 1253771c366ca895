# Writes OUTPUT, a header defining KF_STEP_IDENTITY: the first 64 bits of a SHA-256 over the
# first line of INPUTS (compiler and flags) and, for every file listed on the lines after it,
# its path from ROOT and the SHA-256 of its bytes. Paths from ROOT keep the identity the same
# in every checkout of the same sources.
file(STRINGS ${INPUTS} lines)
list(POP_FRONT lines toolchain)
set(text "${toolchain}\n")
foreach(path IN LISTS lines)
  file(SHA256 ${path} sum)
  file(RELATIVE_PATH name ${ROOT} ${path})
  string(APPEND text "${name} ${sum}\n")
endforeach()
string(SHA256 all "${text}")
string(SUBSTRING ${all} 0 16 identity)
file(WRITE ${OUTPUT} "// Made by state/step_identity.cmake.\n#define KF_STEP_IDENTITY 0x${identity}ull\n")
