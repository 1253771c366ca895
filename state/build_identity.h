// Which build this is, for the network handshake and replays: two builds whose battles could
// differ must tell each other apart, even when they carry the same version.
#pragma once

#include <cstdint>
#include <string_view>

// The game's version, as the package names it ("1.0").
std::string_view gameVersion();

// A hash of everything that decides the battle step's results: the sources of the frame and
// set-up, ships, gunnery, state and maths, the collision test and its pictures, and the
// compiler with its flags. Taken at build time; the same for the same sources and toolchain.
uint64_t stepIdentity();
