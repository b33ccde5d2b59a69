// ZIP reading without files or windows: the walk over an archive's local
// headers, the entries' safe names, and the messages for what went wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Where the archive's bytes come from, front to back.
class ByteSource {
public:
    // Reads up to size bytes into buffer: the number read, 0 at the end of the
    // archive, -1 on a read error.
    virtual std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) = 0;

protected:
    ~ByteSource() = default;
};

// Where the entries go: each one as BeginEntry, its bytes in blocks of up to
// 32768, EndEntry (also after damaged data, with the bytes decoded so far).
// BeginEntry and Write answer false when the entry cannot be written (its file
// cannot be created or replaced, a write failed or fell short): the walk then
// stops with kWriteError, after EndEntry if BeginEntry had succeeded.
class EntrySink {
public:
    virtual bool BeginEntry(const std::string& name) = 0;  // a safe file name: no folders
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    virtual void EndEntry() = 0;

protected:
    ~EntrySink() = default;
};

// The entries' bytes go nowhere (the walk checks them on the way); it counts
// the entries handed to it.
class DiscardSink final : public EntrySink {
public:
    bool BeginEntry(const std::string&) override {
        ++entries;
        return true;
    }
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
    void EndEntry() override {}
    std::size_t entries = 0;
};

// How an extraction ends. The walk gives the ones up to kReadError; the file
// layer adds the last two.
enum class ArchiveOutcome {
    kOk,         // no further local header: every entry found was written
    kBadName,    // a name that is empty, longer than 258 bytes, cut off by the end of the
                 // archive, or no safe file name (a device name, characters Windows refuses)
    kEncrypted,  // general purpose flag bit 0
    kUnsupportedMethod,  // neither stored (0) nor deflated (8), or stored with its sizes after the
                         // data
    kDamagedData,        // the deflate data cannot be decoded, or the entry's data ends early
    kCrcError,           // the data's CRC-32 differs from the archive's
    kReadError,          // the archive could not be read to its end
    kWriteError,         // an entry could not be written; entry is the file's name as written
    kCannotOpen,         // the archive cannot be opened
    kCannotPosition,     // the archive cannot be positioned at its start
};

struct ArchiveResult {
    ArchiveOutcome outcome = ArchiveOutcome::kOk;
    std::string entry;  // the name of the entry at fault, as the archive has it
};

// What a check of a whole archive found: how the walk ended, and how many
// entries it handed on before that.
struct ArchiveCheck {
    ArchiveResult result;
    std::size_t entries = 0;
};

// Walks the local headers from the first byte on and hands every entry to the
// sink, stopping at the first failure (the entries before it are delivered).
ArchiveResult WalkArchive(ByteSource& source, EntrySink& sink);

// What becomes of an entry's name: only its last component is kept (after the
// last "/", "\" or ":"), at most 255 characters.
enum class NameUse {
    kWrite,   // write the entry under component
    kSkip,    // nothing to write: the component is empty, ".", ".." or only dots and blanks
    kRefuse,  // the component names a device or holds characters a file name cannot
};
struct EntryName {
    NameUse use;
    std::string component;
};
EntryName SafeEntryName(std::string_view stored);

// The message box for an outcome other than kOk: its text and caption. A read
// error shows the words of the positioning failure (the archive cannot be
// read where it should be); damaged data and a CRC error both name the entry
// as stored, in the same words; a write error names the file that could not
// be written.
struct ArchiveMessage {
    std::string text;
    std::string caption;
};
ArchiveMessage MessageFor(const ArchiveResult& result, std::string_view archivePath);

}  // namespace qv
