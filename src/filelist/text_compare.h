#pragma once
// The order of the list's texts: byte by byte, A-Z folded to a-z.

#include <string_view>

// -1, 0 or 1 as a sorts before, with or after b.
int CompareRowTexts(std::string_view a, std::string_view b);
