// GIF writing without files or windows: frames of pixels to a GIF89a stream
// (colour tables in first-met order, interlacing, transparency, comments,
// animation), and the single-picture file the snapshot viewer saves.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/gif_status.h"
#include "util/pixmap.h"

namespace qv {

// One frame to encode.
struct TFrameInfo {
    const Pixmap* bitmap = nullptr;  // not owned; its size is the frame's size
    std::int32_t left = 0;           // place on the logical screen (written as 16 bits)
    std::int32_t top = 0;
    std::int32_t width = 0;  // for the caller's own use; the encoder takes the bitmap's
    std::int32_t height = 0;
    std::int32_t delay = 0;  // milliseconds
    bool interlaced = false;
    bool transparent = false;
    Pixel transparentColour = 0;  // 0x00RRGGBB, as the pixels
    std::uint8_t disposal = 0;    // 0 to 3
    std::string comment;          // a comment extension ahead of the frame when not empty
};

struct GifFrameList {
    std::int32_t frameCount = 0;  // 1 to 256
    std::array<const TFrameInfo*, 256> frames{};
    std::uint16_t loopCount = 0;
    bool sharedColourTable = false;
};

// Length of the closing comment, which a saved file overwrites in place.
inline constexpr std::size_t kClosingCommentSize = 135;

class GifEncoder {
public:
    // Encodes into this encoder's stream; true when the whole stream was made.
    // After a failure the stream is empty.
    bool EncodeGif(const GifFrameList& frames);
    // EncodeGif, then on success the stream is appended to destination. The
    // stream is emptied afterwards in every case.
    bool SaveToStream(const GifFrameList& frames, std::vector<std::uint8_t>& destination);

    GifStatus status() const { return status_; }
    const std::vector<std::uint8_t>& stream() const { return stream_; }

private:
    bool encode(const GifFrameList& frames);

    GifStatus status_ = GifStatus::kDone;
    std::vector<std::uint8_t> stream_;
};

// How the viewer and the converter save one picture.
struct GifSaveOptions {
    bool interlaced = false;
    bool transparent = false;
    Pixel transparentColour = 0;  // 0x00RRGGBB, as the pixels
    std::string comment;
};

// The bytes of a GIF file of one picture, or nothing when encoding was
// refused (more than 256 colours, no pixels). The file ends with a comment of
// exactly 135 bytes: a comment of up to 135 characters padded with blanks, or
// 135 blanks while a longer comment goes whole ahead of the picture.
// Running out of memory comes out as std::bad_alloc.
std::vector<std::uint8_t> EncodeGifFile(const Pixmap& picture, const GifSaveOptions& options);

}  // namespace qv
