// The two cannonball lists: list A holds ship 0's balls, list B those of ships 1 to 3.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "state/records.h"

// More balls than the firing rules can keep in flight in one list (eight batteries at one
// ball per frame, about 410 frames across the field: a little over 3,000 in both lists);
// a bound for whatever a settings file holds.
inline constexpr size_t kKugelnHoechstens = 4096;

// Appends a ball with Alter 0 at the end of the list; a full list takes no more.
void KugelAnhaengen(std::vector<Kugel>& liste, double posX, double posY, double tempo, double kurs,
                    int32_t seite, int8_t schuetze = 0);

// Removes every ball of the list.
void KugelnLeeren(std::vector<Kugel>& liste);
