// The battle's catalogue of sprite, sound and font numbers lives with its state.
#pragma once

#include "state/katalog.h"
