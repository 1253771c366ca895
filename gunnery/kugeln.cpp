#include "gunnery/kugeln.h"

void KugelAnhaengen(std::vector<Kugel>& liste, double posX, double posY, double tempo, double kurs,
                    int32_t seite, int8_t schuetze) {
  if (liste.size() >= kKugelnHoechstens) return;
  liste.push_back(Kugel{posX, posY, tempo, kurs, seite, 0, schuetze});
}

void KugelnLeeren(std::vector<Kugel>& liste) { liste.clear(); }
