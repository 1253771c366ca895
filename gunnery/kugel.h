// The cannonball record lives with the battle's other records.
#pragma once

#include "state/records.h"
