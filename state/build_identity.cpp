#include "state/build_identity.h"

#include "step_identity.h"

std::string_view gameVersion() { return KF_VERSION; }

uint64_t stepIdentity() { return KF_STEP_IDENTITY; }
