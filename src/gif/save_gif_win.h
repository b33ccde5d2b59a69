// Saving a bitmap as a GIF file.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace qv {

// The file could not be created or written; the text names the file and
// gives the system's words.
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the bitmap as a one-picture GIF file ending with the comment (see
// EncodeGifFile). False, with no file created or changed, when the picture
// cannot be encoded (more than 256 colours, unreadable pixels, no memory:
// the last one also beeps). Throws EFCreateError when the file cannot be
// created or written; a file that was only partly written is removed.
bool SaveBitmapAsGif(HBITMAP bitmap, const std::string& fileName, bool interlaced, bool transparent,
                     COLORREF transparentColour, const std::string& comment);

}  // namespace qv
