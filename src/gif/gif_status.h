// The status codes of the GIF component: the code of its last operation, one
// list for the reader and the encoder. Code 1 says "not done" to both, in the
// sense of each: nothing to read, or an encoding that did not get through.
#pragma once

namespace qv {

enum class GifStatus : int {
    kDone = 0,
    kEmpty = 1,     // reading: nothing to read
    kEncoding = 1,  // encoding: under way, or stopped for a reason not listed below
    kReading = 2,   // reading: stays so when the data is no GIF file
    kTableOverflow = 3,
    kFrameOutOfRange = 4,
    kPixelsUnreadable = 5,  // no bitmap, or one of no pixels or over 65535 each way
    kNoSuchFile = 6,
};

}  // namespace qv
