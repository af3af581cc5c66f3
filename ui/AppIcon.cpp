#include "ui/ResourceTemplates.h"

#include <cstdint>

namespace {

// 16 colours: letter 'a' is entry 0; '.' is transparent.
constexpr std::uint32_t kPalette[16] = {
    0xFF202020, 0xFF1F3A93, 0xFF3A6FD8, 0xFF8FB4F0, 0xFFFFFFFF, 0xFF2ECC40, 0xFF1E8C2B, 0xFFF39C12,
    0xFFF7DC6F, 0xFF9AA0A6, 0xFF5F6368, 0xFFD7DBDF, 0xFFE74C3C, 0xFF17A2B8, 0xFF0B1F4B, 0xFFC0C6CC,
};

// A device server sending its broadcast: the box with its LEDs, serial port and network jack.
constexpr const char* kRows32[] = {
    "................................",
    "................................",
    "................................",
    "...........nnnnnnnnnn...........",
    ".........nnnnnnnnnnnnnn.........",
    "........nnnn........nnnn........",
    ".......nnn............nnn.......",
    ".......nn...nnnnnnnn...nn.......",
    "...........nnnnnnnnnn...........",
    "..........nnn......nnn..........",
    "...............nn...............",
    ".............nnnnnn.............",
    ".............nnnnnn.............",
    "...............nn...............",
    "...............nn...............",
    "..aaaaaaaaaaaaaaaaaaaaaaaaaaaa..",
    "..adddddddddddddddddddddddddda..",
    "..adddddddddddddddddddddddddda..",
    "..acccccccccccccccccccccccccca..",
    "..accccccccccooooooccaaaaaaaca..",
    "..accffcchhccoppppoccaiiiiiaca..",
    "..accffcchhccooooooccakkkkkaca..",
    "..accccccccccooooooccakkkkkaca..",
    "..accccccccccooooooccakkkkkaca..",
    "..accccccccccccccccccaaaaaaaca..",
    "..abbbbbbbbbbbbbbbbbbbbbbbbbba..",
    "..abbbbbbbbbbbbbbbbbbbbbbbbbba..",
    "..aaaaaaaaaaaaaaaaaaaaaaaaaaaa..",
    "....kkkk................kkkk....",
    "....kkkk................kkkk....",
    "................................",
    "................................",
};

constexpr const char* kRows16[] = {
    "................",
    "....nnnnnnnn....",
    "...nn......nn...",
    "......nnnn......",
    ".....nn..nn.....",
    ".......nn.......",
    ".......nn.......",
    ".aaaaaaaaaaaaaa.",
    ".adddddddddddda.",
    ".acccccccccccca.",
    ".afchcooocaiica.",
    ".accccooocakkca.",
    ".abbbbbbbbbbbba.",
    ".aaaaaaaaaaaaaa.",
    "..kk........kk..",
    "................",
};

}  // namespace

const IconImage kAppIconImages[2] = {
    {32, kRows32, kPalette},
    {16, kRows16, kPalette},
};
