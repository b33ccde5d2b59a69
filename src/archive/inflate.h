// Deflate decoder (RFC 1951): raw deflate streams in, blocks of bytes out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

// Outcomes of one stream, as a small table (the decoder never throws):
enum class InflateStatus {
    kOk,               // the block marked last was decoded
    kTruncated,        // the stream needs bits beyond the end of its input
    kBadBlockType,     // a block of type 3
    kBadStoredLength,  // a stored block whose length and complement disagree
    kBadCodeLengths,   // a code set that is over-subscribed or incomplete, a repeat with
                       // nothing to repeat or past the declared count, too many codes,
                       // or no end-of-block code
    kBadCode,          // a bit pattern that is no code of the set, or length symbol
                       // 286/287, or distance symbol 30/31
    kBadDistance,      // a distance back beyond the first byte of the output
};

// Where the compressed bytes come from. [next, end) are the bytes visible and
// not yet taken; the decoder advances next as it takes them.
class InflateInput {
public:
    const std::uint8_t* next = nullptr;
    const std::uint8_t* end = nullptr;

    // Makes more bytes visible after end. The unread bytes [next, end) and the
    // kInflateLookback bytes before next must stay readable (they may move:
    // next and end are set again). False when no more bytes will come.
    virtual bool Refill() = 0;

protected:
    ~InflateInput() = default;
};

// The decoder reads a few bytes ahead and steps back over them when a stream
// ends or a stored block starts, so an input keeps this many bytes before next.
inline constexpr std::size_t kInflateLookback = 16;

// Where the decoded bytes go: in blocks of 32768 bytes, the last one shorter.
class InflateSink {
public:
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;

protected:
    ~InflateSink() = default;
};

// Input over one buffer that holds a whole stream (or more after it).
class MemoryInput final : public InflateInput {
public:
    MemoryInput(const std::uint8_t* data, std::size_t size) {
        next = data;
        end = data + size;
    }
    bool Refill() override { return false; }
};

struct InflateStorage;  // window and tables, defined with the decoder

// One decoder, reused stream after stream: it owns the 32768-byte window, the
// blocks being filled and the lookup tables (about 350 KB, on the heap).
class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Decodes one stream from input into sink. On kOk input.next is left just
    // after the stream's last byte; otherwise where the damage was found. The
    // bytes decoded before a failure have been written to sink.
    InflateStatus Inflate(InflateInput& input, InflateSink& sink);

private:
    std::unique_ptr<InflateStorage> storage_;
};

}  // namespace qv
