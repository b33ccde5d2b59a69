// A bitmap's pixels through the portable GIF encoder into a file.
#include "gif/save_gif_win.h"

#include <new>
#include <optional>

#include "gif/gif_encoder.h"
#include "util/handles_win.h"
#include "util/pixmap_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

void WriteFileOrThrow(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    OwnedHandle file(CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw EFCreateError("Cannot create file " + fileName + ". " +
                            SystemErrorText(GetLastError()));
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        const DWORD error = GetLastError();
        file.reset();
        DeleteFileA(fileName.c_str());
        throw EFCreateError("Cannot write file " + fileName + ". " + SystemErrorText(error));
    }
}

}  // namespace

bool SaveBitmapAsGif(HBITMAP bitmap, const std::string& fileName, bool interlaced, bool transparent,
                     COLORREF transparentColour, const std::string& comment) {
    std::vector<std::uint8_t> bytes;
    try {
        const std::optional<Pixmap> picture = PixmapFromBitmap(bitmap);
        if (!picture) return false;
        bytes =
            EncodeGifFile(*picture, {.interlaced = interlaced,
                                     .transparent = transparent,
                                     .transparentColour = RgbPixel(GetRValue(transparentColour),
                                                                   GetGValue(transparentColour),
                                                                   GetBValue(transparentColour)),
                                     .comment = comment});
    } catch (const std::bad_alloc&) {
        MessageBeep(MB_OK);
        return false;
    }
    if (bytes.empty()) return false;
    WriteFileOrThrow(fileName, bytes);
    return true;
}

}  // namespace qv
