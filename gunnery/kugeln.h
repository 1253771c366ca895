// The two cannonball lists: list A holds ship 0's balls, list B those of ships 1 to 3.
#pragma once

#include <cstdint>
#include <vector>

#include "gunnery/kugel.h"

// Appends a ball with Alter 0 at the end of the list.
void KugelAnhaengen(std::vector<Kugel>& liste, double posX, double posY, double tempo, double kurs,
                    int32_t seite, int8_t schuetze = 0);

// Removes every ball of the list.
void KugelnLeeren(std::vector<Kugel>& liste);
