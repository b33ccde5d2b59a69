// Generated ROM contents for the inflate benchmark: the four kinds of data an
// arcade ROM set is made of, alone and mixed as in a set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace bench {

using Bytes = std::vector<std::uint8_t>;

// Program code of a 16/32-bit CPU: big-endian instruction words in a few
// dozen shapes over a small set of registers, variables and routines, with
// pointer tables between the routines.
Bytes MakeProgramCode(std::size_t size, std::mt19937& rng);

// Tile graphics: 16 x 16 tiles of 4 bits a pixel, sprites drawn over
// transparent colour 0, textured scenery, blank, repeated and mirrored tiles.
Bytes MakeTiles(std::size_t size, std::mt19937& rng);

// Sound: 4-bit ADPCM of effects and voices with short silences between them,
// behind a table of sample addresses.
Bytes MakeSound(std::size_t size, std::mt19937& rng);

// Erased EPROM: 0xFF bytes with a few small islands of data.
Bytes MakeFill(std::size_t size, std::mt19937& rng);

// A ROM set of eight 512 KiB ROMs (4 MiB in all): two program ROMs, four
// graphics ROMs, a sound ROM with its CPU's program, and a half-used graphics
// ROM, each padded with erased space as real ones are.
std::vector<Bytes> MakeRomSet(std::mt19937& rng);

}  // namespace bench
