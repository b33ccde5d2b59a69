// Snapshot files through the portable PCX decoder into a DIB section.
#include "viewer/load_pcx_win.h"

#include <windows.h>

#include <vector>

#include "util/files_win.h"
#include "util/pixmap_win.h"
#include "util/whole_file.h"
#include "viewer/pcx_decoder.h"

namespace qv {
namespace {

// Why a snapshot file could not be read.
const char* ReadFailureText(ReadOutcome outcome) {
    switch (outcome) {
    case ReadOutcome::kCannotOpen:
        return "cannot be opened";
    case ReadOutcome::kTooLarge:
        return "too large for a snapshot";
    default:
        return "cannot be read";
    }
}

}  // namespace

bool LoadPcx(OwnedBitmap& target, const std::string& fileName, std::string* why) {
    std::string reason;
    std::vector<std::uint8_t> data;
    OwnedBitmap bitmap;
    if (!FileExists(fileName)) {
        reason = "does not exist";
    } else if (const ReadOutcome read = ReadWholeFile(fileName, kMaxPictureFileSize, data);
               read != ReadOutcome::kRead) {
        reason = ReadFailureText(read);
    } else {
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
