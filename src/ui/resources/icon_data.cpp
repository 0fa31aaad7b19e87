// The program icon, drawn for this program: a folder with a numbered tag.

#include "ui/resources/icon_data.h"

// The 16 colours of the standard palette.
const std::array<unsigned int, 16> kIconPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

const std::array<const char*, 32> kIcon32 = {{
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "..33333333333...................", "..3BBBBBBBBB3...................",
    "..3BBBBBBBBB3...................", "..3333333333333333333333333333..",
    "..3FFFFFFFFFFFFFFFFFFFFFFFFFF3..", "..3FFFFFFFFFFFFFFFFFFFFFFFFFF3..",
    "..3BBBBBBBBBBBBBBBBBBBBBBBBBB3..", "..3BBBBBBBBBBBBBBBBBBBBBBBBBB3..",
    "..3BBBBBBBBBBBBBBBBBBBBBBBBBB3..", "..3BBBBBBBBBBBB0000000000000000.",
    "..3BBBBBBBBBBBB0CCCCCCCCCCCCCC0.", "..3BBBBBBBBBBBB0CCCCCCCCCCCCCC0.",
    "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.", "..3BBBBBBBBBBBB0CCCFFFFFFCCCCC0.",
    "..3BBBBBBBBBBBB0CCCFFFFFFCCCCC0.", "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.",
    "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.", "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.",
    "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.", "..3BBBBBBBBBBBB0CCCCCFFFFCCCCC0.",
    "..3BBBBBBBBBBBB0CCCFFFFFFFFCCC0.", "..33333333333330CCCFFFFFFFFCCC0.",
    "...............0CCCCCCCCCCCCCC0.", "...............0CCCCCCCCCCCCCC0.",
    "...............0000000000000000.", "................................",
}};

const std::array<const char*, 16> kIcon16 = {{
    "................",
    "................",
    "................",
    ".BBBBB..........",
    ".33333333333333.",
    ".FFFFFFFFFFFFF3.",
    ".BBBBBBBBBBBBB3.",
    ".BBBBBB00000000.",
    ".BBBBBB0CCCCCCC.",
    ".BBBBBB0CFFFCCC.",
    ".BBBBBB0CCFFCCC.",
    ".BBBBBB0CCFFCCC.",
    ".BBBBBB0CCFFCCC.",
    ".3333330CFFFFCC.",
    ".......0CCCCCCC.",
    "................",
}};
