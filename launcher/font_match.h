// Finding a typeface by name the way the desktop does, through fontconfig.
#pragma once

#include <string>

// The family fontconfig offers for a face name: "arial" gives the metric-compatible
// "Liberation Sans" where Arial itself is missing. The name itself when nothing matches.
std::string matchFontFamily(const std::string& face);
