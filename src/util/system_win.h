// System places, processor check and the message pump used during long work.
#pragma once

#include <string>

namespace qv {

// The Windows directory, always ending with "\".
std::string WindowsDir();

// WindowsDir() + "TEMP\" (the system's TEMP folder, not the user's).
std::string WindowsTempDir();

// The running program's folder, ending with "\".
std::string ProgramDir();

// The system's own text for an error code, without its closing line break;
// empty when the system has none.
std::string SystemErrorText(unsigned long error);

// False on a 386 or 486 as the system reports it, true otherwise.
bool IsPentium();
// The rule, for a processor type as the system reports it (386, 486, 586,
// 8664 ...): false for 386 and 486 only.
bool IsPentiumClass(unsigned long processorType);

// From here on the libraries the process loads are looked for in the system
// folder alone, not first in the program's folder, which is the emulator
// folder and may hold many thousands of files. Systems without the call
// (Windows 7 without its update) keep their usual search.
void LoadLibrariesFromSystemFolder();

}  // namespace qv
