// Unpacking a ZIP archive into a folder: the archive file, the output files,
// the message boxes; the walk itself is the portable reader's.
#include "archive/extract_win.h"

#include "util/files_win.h"

#include <windows.h>

#include "archive/zip_walk.h"
#include "util/handles_win.h"
#include "util/text.h"

namespace qv {

namespace {

class FileSource final : public ByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        DWORD got = 0;
        if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
        return static_cast<std::ptrdiff_t>(got);
    }

private:
    HANDLE file_;
};

// Each entry becomes destination\name. A file that cannot be created or
// replaced, or a write that fails or falls short (a full disk), ends the
// extraction: a launch must never run on truncated ROMs.
class FolderSink final : public EntrySink {
public:
    explicit FolderSink(std::string folder) : folder_(std::move(folder)) {}

    bool BeginEntry(const std::string& name) override {
        path_ = JoinPath(folder_, name, true);
        CreateFolderPath(path_.substr(0, path_.find_last_of('\\')));
        // A read-only file of that name is replaced like any other.
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        file_.reset(CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        DWORD written = 0;
        return WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
    }
    void EndEntry() override { file_.reset(); }

    // The file of the entry begun last: the one a write error is about.
    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
    OwnedHandle file_;
};

ArchiveResult WalkArchiveFile(const std::string& archivePath, EntrySink& sink) {
    OwnedHandle archive(CreateFileA(archivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!archive) return {ArchiveOutcome::kCannotOpen, {}};
    if (SetFilePointer(archive.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return {ArchiveOutcome::kCannotPosition, {}};
    FileSource source(archive.get());
    return WalkArchive(source, sink);
}

}  // namespace

ArchiveResult UnpackArchive(const std::string& archivePath, const std::string& destinationFolder) {
    FolderSink sink(destinationFolder);
    ArchiveResult result = WalkArchiveFile(archivePath, sink);
    if (result.outcome == ArchiveOutcome::kWriteError) result.entry = sink.path();
    return result;
}

ArchiveCheck CheckArchive(const std::string& archivePath) {
    DiscardSink sink;
    const ArchiveResult result = WalkArchiveFile(archivePath, sink);
    return {result, sink.entries};
}

bool ExtractArchive(const std::string& archivePath, const std::string& destinationFolder,
                    const ArchiveReporter& report) {
    const ArchiveResult result = UnpackArchive(archivePath, destinationFolder);
    if (result.outcome == ArchiveOutcome::kOk) return true;
    const ArchiveMessage message = MessageFor(result, archivePath);
    report(message.text, message.caption);
    return false;
}

bool ExtractArchive(const std::string& archivePath, const std::string& destinationFolder) {
    return ExtractArchive(archivePath, destinationFolder,
                          [](const std::string& text, const std::string& caption) {
                              MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
                          });
}

}  // namespace qv
