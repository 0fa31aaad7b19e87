#pragma once

#include <array>

extern const std::array<unsigned int, 16> kIconPalette;
extern const std::array<const char*, 32> kIcon32;
extern const std::array<const char*, 16> kIcon16;
