// Snapshot files through the portable PCX decoder into a DIB section.
#include "viewer/load_pcx_win.h"

#include <windows.h>

#include <vector>

#include "util/files_win.h"
#include "util/pixmap_win.h"
#include "viewer/pcx_decoder.h"

namespace qv {
namespace {

// Snapshots are far smaller; a larger file is not one of them.
constexpr DWORD kMaxFileSize = 64u << 20;

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& data, std::string& why) {
    OwnedHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        why = "cannot be opened";
        return false;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kMaxFileSize) {
        why = "too large for a snapshot";
        return false;
    }
    data.resize(size);
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file.get(), data.data(), size, &read, nullptr) || read != size)) {
        why = "cannot be read";
        return false;
    }
    return true;
}

}  // namespace

bool LoadPcx(OwnedBitmap& target, const std::string& fileName, std::string* why) {
    std::string reason;
    std::vector<std::uint8_t> data;
    OwnedBitmap bitmap;
    if (!FileExists(fileName)) {
        reason = "does not exist";
    } else if (ReadWholeFile(fileName, data, reason)) {
        const PcxResult result = DecodePcx(data.data(), data.size());
        if (result.outcome != PcxOutcome::kOk) {
            reason = PcxOutcomeText(result.outcome);
        } else {
            bitmap = BitmapFromPixmap(result.picture);
            if (!bitmap) reason = "too large for a bitmap";
        }
    }
    if (!bitmap) {
        if (why) *why = reason;
        return false;
    }
    target = std::move(bitmap);
    return true;
}

}  // namespace qv
