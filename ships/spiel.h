// The battle's state has a folder of its own, which the simulation and its snapshots share.
#pragma once

#include "state/spiel.h"
