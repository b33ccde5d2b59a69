// The portable part of the process launcher: its error texts and the numbers
// its window states and priorities stand for.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// How the started program's window is shown.
enum class TWindowState { Normal, Minimized, Maximized };

// Priority class of the started program, in the order the launcher lists them.
enum class TPriorClass { HIGH, IDLE, NORMAL, REALTIME };

// The show command for a window state (SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED).
constexpr int ShowCommandOf(TWindowState state) {
    switch (state) {
    case TWindowState::Minimized:
        return 2;
    case TWindowState::Maximized:
        return 3;
    case TWindowState::Normal:
        break;
    }
    return 1;
}

// The process creation flag for a priority class (HIGH_, IDLE_, NORMAL_, REALTIME_PRIORITY_CLASS).
constexpr std::uint32_t PriorityFlagOf(TPriorClass priority) {
    switch (priority) {
    case TPriorClass::HIGH:
        return 0x80;
    case TPriorClass::IDLE:
        return 0x40;
    case TPriorClass::REALTIME:
        return 0x100;
    case TPriorClass::NORMAL:
        break;
    }
    return 0x20;
}

// The message for an error number: the program-start return codes' texts,
// "No error" from 32 up, and an empty text for numbers the table leaves out.
// System error codes read through the same table.
std::string ErrorText(std::int32_t errNo);
// The first code that the table calls "No error".
inline constexpr std::int32_t kFirstNonErrorCode = 32;

}  // namespace qv
