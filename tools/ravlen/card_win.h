// The stand-in's test card (colour bars and the game's name, drawn with GDI
// into a 256-colour DIB) and the small window that shows it while "playing".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pcx_writer.h"

namespace ravlen {

struct Card {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // palette indices, rows top first
    Palette palette{};
};

Card DrawTestCard(int width, int height, const std::string& title, const std::string& gameId);

// Shows the card (if any) above the text lines until a key or click, or until
// the given number of milliseconds has passed.
void ShowRunWindow(const std::string& caption, const Card* card,
                   const std::vector<std::string>& lines, unsigned milliseconds);

}  // namespace ravlen
