// The built-in list of games Ravlen can run, in the order of the game buttons.
#include "catalogue/game_table.h"

namespace qv {

namespace {

constexpr std::array<GameRecord, kGameCount> kGames{{
    {"Three Wonders", "3wonders", "3wonders", "3wonders.*", "", "3wonders"},
    {"Final Fight", "ffight", "FFIGHT", "ff*.*", "", "ffight"},
    {"Final Fight (JAP)", "ffight", "FFIGHTJ", "ff*.*", "", "ffightJ"},
    {"The King of Dragons", "kod", "kod", "kod*.rom", "", "kod"},
    {"King of Dragons (J)", "kod", "kodj", "kd.bin", "", "kodj"},
    {"Street Fighter 2", "sf2", "SF2", "sf2*.rom;sf2gfx*.rom", "", "sf2"},
    {"Street Fighter 2 CE", "sf2ce", "SF2t", "sf2.*;sf2ce.*", "RSF2 Sf2Ce", "sf2ce;sf2t"},
    {"Street Fighter 2 CE (J)", "sf2ce", "SF2t", "sf2.*;sf2cej.*", "RSF2 Sf2Cej", "sf2cej;sf2t"},
    {"Street Fighter 2 Turbo", "sf2t", "SF2t", "sf2.*", "", "sf2t"},
    {"Street Fighter 2 T (J)", "sf2t", "SF2t", "sf2.*;sf2tj.*", "RSF2 Sf2tj", "sf2tj;sf2t"},
    {"Captain Commando", "captcomm", "captcomm", "cc_*.rom;gfx_*.rom", "", "captcomm"},
    {"Captain Commando (J)", "captcomm", "captcomj", "cc*.bin", "", "captcomj"},
    {"Strider", "Strider", "STRIDER", "STRIDER.*", "", "Strider"},
    {"Strider (JAP)", "STRIDER", "STRIDERJ", "sth*.bin", "", "STRIDERJ"},
    {"U.N. Squadron (US)", "unsquad", "UNSQUAD", "UNSQUAD.*", "", "unsquad"},
    {"Area88 (JAP)", "unsquad", "Area88", "ar*.bin", "", "Area88"},
    {"Willow", "Willow", "Willow", "wl*.rom;wl_gfx*.rom", "", "Willow"},
    {"Carrier Air Wing", "cawing", "Cawing", "ca_*.rom;ca_gfx*.rom", "", "cawing"},
    {"Carrier Air Wing (JAP)", "cawing", "CawingJ", "caj*.bin", "", "CawingJ"},
    {"Knights of the Round", "Knights", "Knights", "*.*", "", "Knights"},
    {"Magic Sword", "msword", "MSword", "*.*", "", "MSword"},
    {"Megatwins", "mtwins", "mtwins", "ch*.rom", "", "mtwins"},
    {"1941 (Jap)", "_1941", "1941j", "41*.bin", "", "1941j"},
    {"Rockman TPB (Jap)", "RockManJ", "ROCKMANJ", "rcm*.bin", "", "RockManJ"},
}};

}  // namespace

std::span<const GameRecord, kGameCount> GameTable() { return kGames; }

bool IsJapanese(const GameRecord& game) { return game.title.find("(J") != std::string_view::npos; }

}  // namespace qv
