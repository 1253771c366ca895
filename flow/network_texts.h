// What the player is told about a network battle: net/ reports codes, and these are the
// texts for them, in the player's language.
#pragma once

#include <cstdint>
#include <string>

#include "net/link.h"
#include "net/port_mapper.h"
#include "net/session.h"

// Why no link could be made to `host` or on `port`.
std::string linkProblemText(LinkProblem problem, const std::string& host, uint16_t port);

// The end of a match, for the message the player sees; empty when this side left.
std::string endMessage(NetworkSession::End end);

// A peer of another build, naming its version and this one's (and each one's step identity
// when the versions read the same).
std::string otherBuildMessage(uint16_t protocol, uint64_t identity, const std::string& version);

// Why the router did not forward the port.
std::string mappingProblemText(const PortMapper::Result& result);
