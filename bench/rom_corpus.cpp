// Generated ROM contents for the inflate benchmark (see rom_corpus.h).
#include "rom_corpus.h"

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

unsigned Pick(std::mt19937& rng, unsigned n) { return static_cast<unsigned>(rng() % n); }

void PutWord(Bytes& out, std::uint32_t w) {
    out.push_back(static_cast<std::uint8_t>(w >> 8));
    out.push_back(static_cast<std::uint8_t>(w));
}
void PutLong(Bytes& out, std::uint32_t l) {
    PutWord(out, l >> 16);
    PutWord(out, l & 0xFFFF);
}

}  // namespace

Bytes MakeProgramCode(std::size_t size, std::mt19937& rng) {
    Bytes out;
    out.reserve(size + 64);
    std::vector<std::uint32_t> variables;  // RAM addresses the program uses over and over
    for (int i = 0; i < 300; ++i)
        variables.push_back(0xFF8000u + 2 * Pick(rng, 0x4000));
    std::vector<std::uint32_t> routines{0x400};
    static const std::uint16_t kImmediates[] = {0, 1, 2, 3, 4, 7, 8, 0x0F, 0x10, 0x20, 0xFF,
                                                0x100, 0x7FFF, 0x8000, 0xFFFF};
    // Low registers are the busy ones.
    auto reg = [&] { return Pick(rng, 4) == 0 ? Pick(rng, 8) : Pick(rng, 3); };
    auto variable = [&] { return variables[Pick(rng, Pick(rng, 4) == 0 ? 300 : 40)]; };

    while (out.size() < size) {
        if (Pick(rng, 12) == 0) {  // a table of routine pointers or small words
            const unsigned n = 4 + Pick(rng, 28);
            const bool pointers = Pick(rng, 2) == 0;
            for (unsigned i = 0; i < n; ++i) {
                if (pointers)
                    PutLong(out, routines[Pick(rng, static_cast<unsigned>(routines.size()))]);
                else
                    PutWord(out, Pick(rng, 3) == 0 ? Pick(rng, 0x10000) : Pick(rng, 64));
            }
            continue;
        }
        routines.push_back(static_cast<std::uint32_t>(out.size()));
        const unsigned saved = 0x0300u | Pick(rng, 0x100) << 6;
        PutWord(out, 0x48E7);  // movem.l regs,-(sp)
        PutWord(out, saved);
        const unsigned length = 6 + Pick(rng, 40);
        for (unsigned i = 0; i < length; ++i) {
            const unsigned d = reg(), s = reg();
            switch (Pick(rng, 16)) {
            case 0: PutWord(out, 0x3000 | d << 9 | s); break;                      // move.w ds,dd
            case 1: PutWord(out, 0x2000 | d << 9 | 3 << 6 | 3 << 3 | s); break;    // move.l (as)+,(ad)+
            case 2: PutWord(out, 0x3039 | d << 9); PutLong(out, variable()); break; // move.w abs,dd
            case 3: PutWord(out, 0x33C0 | s); PutLong(out, variable()); break;      // move.w ds,abs
            case 4: PutWord(out, 0x41F9 | d << 9); PutLong(out, variable()); break; // lea abs,ad
            case 5:                                                                 // jsr routine
                PutWord(out, 0x4EB9);
                PutLong(out, routines[Pick(rng, static_cast<unsigned>(routines.size()))]);
                break;
            case 6: PutWord(out, 0x6000 | (2 + Pick(rng, 14)) << 8 | 2 * (1 + Pick(rng, 20))); break;
            case 7: PutWord(out, 0x51C8 | d); PutWord(out, 0x10000 - 2 * (2 + Pick(rng, 12))); break;
            case 8: PutWord(out, 0x5040 | (1 + Pick(rng, 7)) << 9 | d); break;  // addq.w #q,dd
            case 9: PutWord(out, 0x5140 | (1 + Pick(rng, 7)) << 9 | d); break;  // subq.w #q,dd
            case 10: PutWord(out, 0x0C40 | d); PutWord(out, kImmediates[Pick(rng, 15)]); break;
            case 11: PutWord(out, 0x0240 | d); PutWord(out, kImmediates[Pick(rng, 15)]); break;
            case 12: PutWord(out, 0x4A79); PutLong(out, variable()); break;      // tst.w abs
            case 13: PutWord(out, 0x7000 | d << 9 | Pick(rng, 32)); break;        // moveq #k,dd
            case 14: PutWord(out, 0x3028 | d << 9 | s); PutWord(out, 2 * Pick(rng, 64)); break;
            default: PutWord(out, 0x4240 | d); break;                             // clr.w dd
            }
        }
        PutWord(out, 0x4CDF);  // movem.l (sp)+,regs
        PutWord(out, saved);
        PutWord(out, 0x4E75);  // rts
    }
    out.resize(size);
    return out;
}

Bytes MakeTiles(std::size_t size, std::mt19937& rng) {
    constexpr int kSide = 16, kTileBytes = kSide * kSide / 2;
    Bytes out;
    out.reserve(size + kTileBytes);
    std::uint8_t pixels[kSide][kSide];
    auto pack = [&] {
        for (auto& row : pixels)
            for (int x = 0; x < kSide; x += 2)
                out.push_back(static_cast<std::uint8_t>(row[x] << 4 | row[x + 1]));
    };
    while (out.size() < size) {
        const unsigned kind = Pick(rng, 20);
        const std::size_t tiles = out.size() / kTileBytes;
        if (kind < 3) {  // blank
            out.insert(out.end(), kTileBytes, 0);
        } else if (kind < 6 && tiles > 0) {  // an earlier tile again, or mirrored
            const std::size_t from = (tiles - 1 - Pick(rng, std::min<unsigned>(200, tiles))) * kTileBytes;
            const bool mirror = kind == 5;
            for (int row = 0; row < kSide; ++row)
                for (int i = 0; i < kSide / 2; ++i) {
                    const std::uint8_t b =
                        out[from + row * kSide / 2 + (mirror ? kSide / 2 - 1 - i : i)];
                    out.push_back(mirror ? static_cast<std::uint8_t>(b << 4 | b >> 4) : b);
                }
        } else if (kind < 10) {  // scenery: a periodic texture with a few flaws
            const int period = 2 << Pick(rng, 3);
            std::uint8_t base[8][8];
            for (auto& row : base)
                for (auto& p : row)
                    p = static_cast<std::uint8_t>(1 + Pick(rng, 3) + (Pick(rng, 2) ? 8 : 0));
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x)
                    pixels[y][x] = Pick(rng, 40) == 0 ? static_cast<std::uint8_t>(Pick(rng, 16))
                                                      : base[y % period % 8][x % period % 8];
            pack();
        } else {  // a sprite: a shaded blob with an outline over colour 0
            const int cx = 4 + Pick(rng, 8), cy = 4 + Pick(rng, 8);
            const int rx = 3 + Pick(rng, 6), ry = 3 + Pick(rng, 6);
            const std::uint8_t ramp = static_cast<std::uint8_t>(1 + 4 * Pick(rng, 3));
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const double d = std::pow((x - cx) / double(rx), 2) + std::pow((y - cy) / double(ry), 2);
                    std::uint8_t p = 0;
                    if (d <= 1.0)
                        p = d > 0.75 ? 15 : static_cast<std::uint8_t>(ramp + std::min(3, int(d * 4)));
                    if (p != 0 && Pick(rng, 24) == 0) p = static_cast<std::uint8_t>(Pick(rng, 16));
                    pixels[y][x] = p;
                }
            pack();
        }
    }
    out.resize(size);
    return out;
}

Bytes MakeSound(std::size_t size, std::mt19937& rng) {
    Bytes out;
    out.reserve(size + 4096);
    // The sample table: start and end addresses, filled in as the samples are made.
    const std::size_t tableSize = 0x400;
    out.resize(tableSize, 0);
    std::size_t entry = 8;

    // An IMA-style ADPCM coder: steps growing about 10% each, index moved by the code.
    std::vector<int> steps;
    for (double s = 7; steps.size() < 89; s *= 1.1)
        steps.push_back(std::min(32767, static_cast<int>(s)));
    static const int kIndexMove[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    int predicted = 0, index = 0;
    auto encode = [&](int sample) {
        const int step = steps[index];
        int diff = sample - predicted;
        unsigned code = 0;
        if (diff < 0) {
            code = 8;
            diff = -diff;
        }
        int delta = step >> 3;
        if (diff >= step) { code |= 4; diff -= step; delta += step; }
        if (diff >= step / 2) { code |= 2; diff -= step / 2; delta += step / 2; }
        if (diff >= step / 4) { code |= 1; delta += step / 4; }
        predicted = std::clamp(predicted + ((code & 8) ? -delta : delta), -32768, 32767);
        index = std::clamp(index + kIndexMove[code & 7], 0, 88);
        return code;
    };
    std::normal_distribution<double> noise(0.0, 1.0);
    while (out.size() < size) {
        const std::size_t start = out.size();
        const int samples = 2000 + static_cast<int>(Pick(rng, 30000));
        const unsigned kind = Pick(rng, 3);
        const double pitch = 0.01 + 0.1 * Pick(rng, 100) / 100.0;
        double phase = 0, level = 0, filtered = 0;
        unsigned pending = 0;
        for (int i = 0; i < samples; ++i) {
            const double envelope = std::exp(-3.0 * i / samples);
            double v;
            if (kind == 0) {  // an explosion: filtered noise
                filtered = 0.9 * filtered + 0.1 * noise(rng);
                v = 3.0 * filtered;
            } else if (kind == 1) {  // a tone with vibrato
                phase += pitch * (1 + 0.02 * std::sin(i * 0.001));
                v = std::sin(phase) > 0 ? 0.6 : -0.6;
            } else {  // a voice: two formants over a buzz
                phase += pitch * 0.3;
                level = std::fmod(phase, 6.283) / 6.283;
                v = 0.5 * std::sin(phase * 7) * level + 0.3 * std::sin(phase * 17) * level +
                    0.05 * noise(rng);
            }
            const unsigned code = encode(static_cast<int>(12000 * envelope * v));
            if (i & 1)
                out.push_back(static_cast<std::uint8_t>(pending << 4 | code));
            else
                pending = code;
        }
        // Silence before the next sample: the coder settles into alternating codes.
        const unsigned gap = 64 + Pick(rng, 512);
        for (unsigned i = 0; i < gap; ++i)
            out.push_back(static_cast<std::uint8_t>(encode(0) << 4 | encode(0)));
        if (entry + 6 <= tableSize) {
            for (std::size_t a : {start, out.size()})
                for (int shift = 16; shift >= 0; shift -= 8)
                    out[entry++] = static_cast<std::uint8_t>(a >> shift);
        }
    }
    out.resize(size);
    return out;
}

Bytes MakeFill(std::size_t size, std::mt19937& rng) {
    Bytes out(size, 0xFF);
    for (std::size_t at = Pick(rng, 65536); at + 512 < size; at += 16384 + Pick(rng, 98304)) {
        const unsigned n = 16 + Pick(rng, 240);
        for (unsigned i = 0; i < n; ++i)
            out[at + i] = static_cast<std::uint8_t>(Pick(rng, 3) == 0 ? 0xFF : rng());
    }
    for (std::size_t i = size >= 4 ? size - 4 : 0; i < size; ++i)  // a checksum at the end
        out[i] = static_cast<std::uint8_t>(rng());
    return out;
}

std::vector<Bytes> MakeRomSet(std::mt19937& rng) {
    constexpr std::size_t kRom = 512 * 1024;
    auto rom = [&](Bytes content) {
        const Bytes fill = MakeFill(kRom - content.size(), rng);
        content.insert(content.end(), fill.begin(), fill.end());
        return content;
    };
    std::vector<Bytes> set;
    for (int i = 0; i < 2; ++i)
        set.push_back(rom(MakeProgramCode(400 * 1024, rng)));
    for (int i = 0; i < 4; ++i)
        set.push_back(rom(MakeTiles(480 * 1024, rng)));
    Bytes sound = MakeProgramCode(64 * 1024, rng);
    const Bytes samples = MakeSound(360 * 1024, rng);
    sound.insert(sound.end(), samples.begin(), samples.end());
    set.push_back(rom(std::move(sound)));
    set.push_back(rom(MakeTiles(256 * 1024, rng)));
    return set;
}

}  // namespace bench
