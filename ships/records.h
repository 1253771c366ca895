// The records live with the battle's state.
#pragma once

#include "state/records.h"
