// The launcher's side of the catalogue: texts as QString.
#pragma once

#include <QString>

#include "launcher/catalogue.h"

// The text `source` (UTF-8, German) of `context` in the current language.
QString translated(const char* context, const char* source);
