// The options file handed to Ravlen with "@": every option of a launch as one
// switch per line, built from the settings model and the game's title.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings.h"

namespace qv {

// The whole file, byte for byte: ANSI text, CR LF after every line, no blank
// line. The banner's dash lines have two more dashes than the banner text has
// characters. Each check box of -novesa to -mmxcopy adds its line only when
// checked. Texts from the model go in as they are, unchecked and untrimmed.
// A list with no selection (resolution, frame skip, a player's device)
// leaves its line as the bare switch with nothing after it.
std::string OptionsFileText(const Settings& settings, std::string_view gameTitle);

}  // namespace qv
