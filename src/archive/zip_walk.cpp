// The ZIP local-header walk: headers, names, stored copy, inflate, CRC checks.
#include "archive/zip_walk.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "archive/crc32.h"
#include "archive/inflate.h"

namespace qv {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kDescriptorSignature = 0x08074B50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kNameBufferSize = 258;
constexpr std::size_t kMaxComponent = 255;
constexpr std::size_t kInputSize = 32768;

constexpr std::uint16_t kFlagEncrypted = 1u << 0;
constexpr std::uint16_t kFlagSizesAfterData = 1u << 3;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{Le16(p)} | std::uint32_t{Le16(p + 2)} << 16;
}
std::uint64_t Le64(const std::uint8_t* p) {
    return std::uint64_t{Le32(p)} | std::uint64_t{Le32(p + 4)} << 32;
}

// The archive through one 32768-byte input buffer. Between entries every
// buffered byte is visible; during an entry's data the visible bytes can be
// limited to that entry, so the decoder sees the end of its data as the end.
class ArchiveInput final : public InflateInput {
public:
    explicit ArchiveInput(ByteSource& source)
        : source_(source),
          buffer_(std::make_unique<std::uint8_t[]>(kCapacity)),
          fill_(buffer_.get()) {
        next = end = fill_;
    }

    bool Refill() override {
        if (limited_ && beyond_ == 0) return false;
        if (fill_ == end) {
            if (exhausted_) return false;
            Compact();
            const std::size_t room =
                std::min(kInputSize, static_cast<std::size_t>(buffer_.get() + kCapacity - fill_));
            const std::ptrdiff_t got = source_.Read(fill_, room);
            if (got <= 0) {
                exhausted_ = true;
                readError_ = got < 0;
                return false;
            }
            fill_ += got;
        }
        Expose();
        return true;
    }

    // Up to size bytes; fewer only at the end of what is visible.
    std::size_t Read(std::uint8_t* to, std::size_t size) {
        std::size_t done = 0;
        while (done < size && (next < end || Refill())) {
            const std::size_t n = std::min(size - done, static_cast<std::size_t>(end - next));
            std::memcpy(to + done, next, n);
            next += n;
            done += n;
        }
        return done;
    }

    void Skip(std::uint64_t size) {
        while (size > 0 && (next < end || Refill())) {
            const std::uint64_t n =
                std::min<std::uint64_t>(size, static_cast<std::uint64_t>(end - next));
            next += n;
            size -= n;
        }
    }

    // From here on only size more bytes are visible, until Unlimit.
    void Limit(std::uint64_t size) {
        limited_ = true;
        end = next;
        beyond_ = size;
        Expose();
    }
    // Skips what is left of the limited bytes and makes everything visible again.
    void SkipRestAndUnlimit() {
        Skip(static_cast<std::uint64_t>(end - next) + beyond_);
        limited_ = false;
        end = fill_;
    }

    // Nothing more of the limited bytes is visible: the entry is given up.
    void Cut() {
        limited_ = true;
        end = next;
        beyond_ = 0;
    }

    bool readError() const { return readError_; }

private:
    static constexpr std::size_t kCapacity = kInflateLookback + kInputSize + 64;

    // Moves the unread bytes, and the lookback the decoder may step back over, to the front.
    void Compact() {
        const std::size_t keep =
            std::min(kInflateLookback, static_cast<std::size_t>(next - buffer_.get()));
        const std::uint8_t* from = next - keep;
        const std::size_t size = static_cast<std::size_t>(fill_ - from);
        std::memmove(buffer_.get(), from, size);
        next = buffer_.get() + keep;
        fill_ = buffer_.get() + size;
        end = next + (end - (from + keep));
    }

    // Makes buffered bytes visible, within the limit.
    void Expose() {
        std::uint64_t more = static_cast<std::uint64_t>(fill_ - end);
        if (limited_) {
            more = std::min(more, beyond_);
            beyond_ -= more;
        }
        end += more;
    }

    ByteSource& source_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint8_t* fill_;  // end of the bytes read from the source
    bool limited_ = false;
    std::uint64_t beyond_ = 0;  // limited: bytes of the limit not yet visible
    bool exhausted_ = false;
    bool readError_ = false;
};

// Passes an entry's bytes on (unless it is skipped) and keeps their CRC-32. A
// write that fails cuts the entry's input, so that decoding stops there.
class EntryOutput final : public InflateSink {
public:
    EntryOutput(EntrySink* sink, ArchiveInput& input) : sink_(sink), input_(input) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        crc_ = Crc32Update(crc_, data, size);
        if (!sink_ || failed_) return;
        if (!sink_->Write(data, size)) {
            failed_ = true;
            input_.Cut();
        }
    }
    std::uint32_t crc() const { return Crc32Final(crc_); }
    bool failed() const { return failed_; }

private:
    EntrySink* sink_;
    ArchiveInput& input_;
    std::uint32_t crc_ = kCrc32Start;
    bool failed_ = false;
};

// The sizes from a ZIP64 extra field, where a header field holds 0xFFFFFFFF.
// In a local header the field carries both sizes whenever either is needed,
// the original size first.
void ReadZip64Sizes(const std::vector<std::uint8_t>& extra, std::uint64_t& uncompressed,
                    std::uint64_t& compressed) {
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const std::uint16_t id = Le16(&extra[at]);
        const std::size_t size = Le16(&extra[at + 2]);
        const std::size_t data = at + 4;
        if (data + size > extra.size()) return;
        if (id == kZip64ExtraId) {
            if (size >= 16) {
                uncompressed = Le64(&extra[data]);
                compressed = Le64(&extra[data + 8]);
            }
            return;
        }
        at = data + size;
    }
}

bool IsZip64(const std::vector<std::uint8_t>& extra) {
    for (std::size_t at = 0; at + 4 <= extra.size(); at += 4 + Le16(&extra[at + 2]))
        if (Le16(&extra[at]) == kZip64ExtraId) return true;
    return false;
}

class Walk {
public:
    Walk(ByteSource& source, EntrySink& sink) : input_(source), sink_(sink) {}

    ArchiveResult Run() {
        ArchiveResult result;
        while (result.outcome == ArchiveOutcome::kOk && NextEntry(result)) {
        }
        if (input_.readError()) result.outcome = ArchiveOutcome::kReadError;
        return result;
    }

private:
    // One entry: false when no local header follows (the walk's end) or on a failure.
    bool NextEntry(ArchiveResult& result) {
        std::uint8_t header[kLocalHeaderSize];
        const std::size_t got = input_.Read(header, sizeof header);
        if (got < 4 || Le32(header) != kLocalHeaderSignature) return false;
        auto fail = [&result](ArchiveOutcome outcome) {
            result.outcome = outcome;
            return false;
        };
        if (got < sizeof header) return fail(ArchiveOutcome::kBadName);

        const std::uint16_t flags = Le16(header + 6);
        const std::uint16_t method = Le16(header + 8);
        const std::uint32_t expectedCrc = Le32(header + 14);
        std::uint64_t compressed = Le32(header + 18);
        std::uint64_t uncompressed = Le32(header + 22);
        const std::size_t nameLength = Le16(header + 26);
        const std::size_t extraLength = Le16(header + 28);

        if (nameLength > kNameBufferSize) return fail(ArchiveOutcome::kBadName);
        char name[kNameBufferSize];
        if (input_.Read(reinterpret_cast<std::uint8_t*>(name), nameLength) < nameLength)
            return fail(ArchiveOutcome::kBadName);
        result.entry.assign(name, strnlen(name, nameLength));
        if (result.entry.empty()) return fail(ArchiveOutcome::kBadName);

        std::vector<std::uint8_t> extra(extraLength);
        if (input_.Read(extra.data(), extraLength) < extraLength)
            return fail(ArchiveOutcome::kCrcError);
        if (compressed == 0xFFFFFFFFu || uncompressed == 0xFFFFFFFFu)
            ReadZip64Sizes(extra, uncompressed, compressed);

        if (flags & kFlagEncrypted) return fail(ArchiveOutcome::kEncrypted);
        const bool sizesAfter = (flags & kFlagSizesAfterData) != 0;
        if (method != kMethodDeflated && (method != kMethodStored || sizesAfter))
            return fail(ArchiveOutcome::kUnsupportedMethod);
        const EntryName target = SafeEntryName(result.entry);
        if (target.use == NameUse::kRefuse) return fail(ArchiveOutcome::kBadName);

        const bool write = target.use == NameUse::kWrite;
        EntryOutput output(write ? &sink_ : nullptr, input_);
        if (write && !sink_.BeginEntry(target.component)) {
            result.entry = target.component;
            return fail(ArchiveOutcome::kWriteError);
        }
        bool intact = true;
        std::uint32_t crc = expectedCrc;
        if (method == kMethodStored) {
            input_.Limit(compressed);
            while (input_.next < input_.end || input_.Refill()) {
                output.Write(input_.next, static_cast<std::size_t>(input_.end - input_.next));
                input_.next = input_.end;
            }
            input_.SkipRestAndUnlimit();
        } else if (sizesAfter) {
            // The stream ends itself; the data descriptor after it has the CRC-32.
            intact = inflater_.Inflate(input_, output) == InflateStatus::kOk;
            // [signature 0x08074B50] CRC-32, compressed and uncompressed size (8 bytes each with
            // ZIP64).
            std::uint8_t field[16] = {};
            intact = intact && input_.Read(field, 4) == 4;
            if (intact && Le32(field) == kDescriptorSignature) intact = input_.Read(field, 4) == 4;
            crc = Le32(field);
            const std::size_t sizesLength = IsZip64(extra) ? 16 : 8;
            intact = intact && input_.Read(field, sizesLength) == sizesLength;
        } else {
            input_.Limit(compressed);
            intact = inflater_.Inflate(input_, output) == InflateStatus::kOk;
            input_.SkipRestAndUnlimit();
        }
        if (write) sink_.EndEntry();
        if (output.failed()) {
            result.entry = target.component;
            return fail(ArchiveOutcome::kWriteError);
        }
        if (!intact || output.crc() != crc) return fail(ArchiveOutcome::kCrcError);
        result.entry.clear();
        return true;
    }

    ArchiveInput input_;
    EntrySink& sink_;
    Inflater inflater_;
};

bool IsDeviceName(std::string_view component) {
    // The base name before any extension, blanks at its end ignored, is what Windows matches.
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string upper;
    for (char c : base)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
        upper == "CONOUT$")
        return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

ArchiveResult WalkArchive(ByteSource& source, EntrySink& sink) { return Walk(source, sink).Run(); }

EntryName SafeEntryName(std::string_view stored) {
    const std::size_t cut = stored.find_last_of("/\\:");
    std::string component(cut == std::string_view::npos ? stored : stored.substr(cut + 1));
    if (component.size() > kMaxComponent) component.resize(kMaxComponent);
    // Windows drops dots and blanks at the end of a name: what is left of ".."
    // or "..." is the folder itself.
    if (component.find_first_not_of(". ") == std::string::npos) return {NameUse::kSkip, component};
    for (unsigned char c : component)
        if (c < 0x20 || std::strchr("<>\"|?*", c) != nullptr) return {NameUse::kRefuse, component};
    if (IsDeviceName(component)) return {NameUse::kRefuse, component};
    return {NameUse::kWrite, component};
}

ArchiveMessage MessageFor(const ArchiveResult& result, std::string_view archivePath) {
    switch (result.outcome) {
    case ArchiveOutcome::kCannotOpen:
        return {std::string(archivePath), "Couldn't open..."};
    case ArchiveOutcome::kCannotPosition:
    case ArchiveOutcome::kReadError:
        return {"Error finding attached archive.", "Archive error.."};
    case ArchiveOutcome::kBadName:
        return {"Error retreiving filename.", "Archive error.."};
    case ArchiveOutcome::kUnsupportedMethod:
        return {"Unsupported compression method", "Unable to extract..."};
    case ArchiveOutcome::kEncrypted:
        return {"Encrypted entries are not supported", "Unable to extract..."};
    case ArchiveOutcome::kCrcError:
        return {"CRC error in " + result.entry, "Archive error.."};
    case ArchiveOutcome::kWriteError:
        return {"Couldn't write " + result.entry, "Unable to extract..."};
    case ArchiveOutcome::kOk:
        break;
    }
    return {};
}

}  // namespace qv
