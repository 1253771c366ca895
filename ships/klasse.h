// The battle's shared helpers live with its state.
#pragma once

#include "state/klasse.h"
