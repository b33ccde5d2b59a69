// A launch's outside world held in memory, failing and dying on command.
#include "memory_launch_system.h"

#include <algorithm>

#include "util/text.h"

namespace qv::test {
namespace {

std::string Key(const std::string& path) { return UpperText(TidyPath(path)); }

std::string ParentOf(const std::string& tidy) {
    const std::size_t at = tidy.find_last_of('\\');
    return at == std::string::npos ? std::string() : tidy.substr(0, at);
}

class TextSource final : public ByteSource {
public:
    explicit TextSource(const std::string& text) : text_(text) {}
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - at_);
        std::copy_n(text_.data() + at_, n, reinterpret_cast<char*>(buffer));
        at_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    const std::string& text_;
    std::size_t at_ = 0;
};

}  // namespace

std::string TidyPath(const std::string& path) {
    std::string tidy;
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && (tidy.empty() || tidy.back() == '\\')) continue;
        tidy += c;
    }
    while (!tidy.empty() && tidy.back() == '\\')
        tidy.pop_back();
    return tidy;
}

// Writes the entries into a folder of the memory, as the real reader writes
// them into the file system; one entry may be made to fail halfway.
class MemoryLaunchSystem::FolderSink final : public EntrySink {
public:
    FolderSink(MemoryLaunchSystem& system, std::string folder, long failAt)
        : system_(system), folder_(std::move(folder)), failAt_(failAt) {}
    bool BeginEntry(const std::string& name) override {
        path = folder_ + "\\" + name;
        system_.makeFolders(folder_);
        if (!system_.parentIsFolder(path) || system_.isFolder(path)) return false;
        system_.put(path, "");
        return true;
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        const std::string block(reinterpret_cast<const char*>(data), size);
        Entry& entry = system_.entries_[Key(path)];
        if (index_ == failAt_) {
            entry.data += block.substr(0, size / 2);  // the disk is full
            return false;
        }
        entry.data += block;
        return true;
    }
    void EndEntry() override { ++index_; }
    std::string path;

private:
    MemoryLaunchSystem& system_;
    std::string folder_;
    long failAt_;
    long index_ = 0;
};

MemoryLaunchSystem::MemoryLaunchSystem() { addFolder("C:"); }

void MemoryLaunchSystem::addFolder(const std::string& path) { makeFolders(path); }

void MemoryLaunchSystem::addFile(const std::string& path, const std::string& data) {
    makeFolders(ParentOf(TidyPath(path)));
    put(path, data);
}

std::map<std::string, std::string> MemoryLaunchSystem::filesUnder(const std::string& folder) const {
    const std::string prefix = Key(folder) + "\\";
    std::map<std::string, std::string> files;
    for (const auto& [key, entry] : entries_) {
        if (!entry.folder && key.starts_with(prefix))
            files[entry.path.substr(prefix.size())] = entry.data;
    }
    return files;
}

bool MemoryLaunchSystem::exists(const std::string& path) const { return find(path) != nullptr; }

void MemoryLaunchSystem::startProcess(std::map<long, std::uint32_t> failing, long crashAfter) {
    failing_ = std::move(failing);
    crashAfter_ = crashAfter;
    count_ = 0;
    log_.clear();
    current_ = "C:";
}

bool MemoryLaunchSystem::begin(const std::string& what) {
    ++count_;
    log_.push_back(what);
    const auto it = failing_.find(count_);
    flavour_ = it == failing_.end() ? 0 : it->second;
    return it != failing_.end();
}

void MemoryLaunchSystem::end() const {
    if (crashAfter_ != 0 && count_ == crashAfter_) throw PowerCut{};
}

const MemoryLaunchSystem::Entry* MemoryLaunchSystem::find(const std::string& path) const {
    const auto it = entries_.find(Key(path));
    return it == entries_.end() ? nullptr : &it->second;
}

bool MemoryLaunchSystem::isFolder(const std::string& path) const {
    const Entry* entry = find(path);
    return entry && entry->folder;
}

bool MemoryLaunchSystem::isFile(const std::string& path) const {
    const Entry* entry = find(path);
    return entry && !entry->folder;
}

bool MemoryLaunchSystem::parentIsFolder(const std::string& path) const {
    return isFolder(ParentOf(TidyPath(path)));
}

void MemoryLaunchSystem::put(const std::string& path, std::string data) {
    entries_[Key(path)] = Entry{TidyPath(path), false, std::move(data)};
}

void MemoryLaunchSystem::makeFolders(const std::string& path) {
    const std::string tidy = TidyPath(path);
    for (std::size_t at = 0; at != std::string::npos;) {
        at = tidy.find('\\', at + 1);
        const std::string level = tidy.substr(0, at);
        if (isFile(level)) return;  // a file in the way
        if (!isFolder(level)) entries_[Key(level)] = Entry{level, true, {}};
    }
}

bool MemoryLaunchSystem::holdsCurrentDirectory(const std::string& folder) const {
    const std::string key = Key(folder), current = Key(current_);
    return current == key || current.starts_with(key + "\\");
}

// Failing, a look cannot tell, as when access is refused.
Presence MemoryLaunchSystem::filePresence(const std::string& path) {
    const bool fail = begin("file exists " + path);
    const Presence found = fail           ? Presence::kCannotTell
                           : isFile(path) ? Presence::kThere
                                          : Presence::kNotThere;
    end();
    return found;
}

Presence MemoryLaunchSystem::folderPresence(const std::string& path) {
    const bool fail = begin("folder exists " + path);
    const Presence found = fail             ? Presence::kCannotTell
                           : isFolder(path) ? Presence::kThere
                                            : Presence::kNotThere;
    end();
    return found;
}

bool MemoryLaunchSystem::renameFile(const std::string& from, const std::string& to) {
    const bool fail = begin("rename " + from + " to " + to);
    const bool sameFile = Key(from) == Key(to);
    const bool done = !fail && isFile(from) && parentIsFolder(to) && (sameFile || !exists(to));
    if (done) {
        std::string data = entries_[Key(from)].data;
        entries_.erase(Key(from));
        put(to, std::move(data));
    }
    end();
    return done;
}

bool MemoryLaunchSystem::copyFile(const std::string& from, const std::string& to) {
    const bool fail = begin("copy " + from + " to " + to);
    const bool done = !fail && isFile(from) && parentIsFolder(to) && !isFolder(to);
    if (done) put(to, find(from)->data);
    end();
    return done;
}

bool MemoryLaunchSystem::createFolder(const std::string& path) {
    const bool fail = begin("create folder " + path);
    const bool done = !fail && parentIsFolder(path) && !exists(path);
    if (done) makeFolders(path);
    end();
    return done;
}

void MemoryLaunchSystem::createFolderPath(const std::string& path) {
    // Failing, it makes nothing, or every level but the last.
    if (!begin("create folder path " + path))
        makeFolders(path);
    else if (flavour_ % 2 == 1)
        makeFolders(ParentOf(TidyPath(path)));
    end();
}

bool MemoryLaunchSystem::deleteFile(const std::string& path) {
    const bool fail = begin("delete file " + path);
    const bool done = !fail && isFile(path);
    if (done) entries_.erase(Key(path));
    end();
    return done;
}

void MemoryLaunchSystem::deleteTree(const std::string& path) {
    // Failing, it deletes the files but no folder (one was held), or nothing.
    const bool fail = begin("delete tree " + path);
    if (isFolder(path) && !(fail && flavour_ % 2 == 1)) {
        const std::string prefix = Key(path) + "\\";
        std::vector<std::string> folders;
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (!it->first.starts_with(prefix)) {
                ++it;
            } else if (it->second.folder) {
                folders.push_back(it->second.path);
                ++it;
            } else {
                it = entries_.erase(it);
            }
        }
        if (!fail) {
            folders.push_back(path);
            // Deepest first; a folder that is some program's current directory stays.
            std::sort(
                folders.begin(), folders.end(),
                [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
            for (const std::string& folder : folders) {
                if (!holdsCurrentDirectory(folder) &&
                    !std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) {
                        return e.first.starts_with(Key(folder) + "\\");
                    }))
                    entries_.erase(Key(folder));
            }
        }
    }
    end();
}

bool MemoryLaunchSystem::writeFile(const std::string& path, std::string_view text) {
    const bool fail = begin("write " + path);
    bool done = false;
    if (parentIsFolder(path) && !isFolder(path)) {
        if (!fail) {
            put(path, std::string(text));
            done = true;
        } else {
            // Cut short where the flavour says; one past the end makes no file.
            const std::size_t cut = flavour_ == 0 ? text.size() / 2 : flavour_ % (text.size() + 2);
            if (cut <= text.size()) put(path, std::string(text.substr(0, cut)));
        }
    }
    end();
    return done;
}

std::optional<std::string> MemoryLaunchSystem::readFile(const std::string& path,
                                                        std::size_t limit) {
    const bool fail = begin("read " + path);
    std::optional<std::string> text;
    if (!fail && isFile(path)) text = find(path)->data.substr(0, limit);
    end();
    return text;
}

ArchiveResult MemoryLaunchSystem::extractArchive(const std::string& archive,
                                                 const std::string& folder) {
    const bool fail = begin("extract " + archive + " into " + folder);
    ArchiveResult result{ArchiveOutcome::kCannotOpen, {}};
    if (isFile(archive)) {
        const std::string zip = find(archive)->data;
        long failAt = -1;
        if (fail) {
            // The disk fills up in one of the entries, picked by the flavour.
            TextSource counting(zip);
            DiscardSink counter;
            WalkArchive(counting, counter);
            failAt = counter.entries == 0 ? 0 : static_cast<long>(flavour_ % counter.entries);
        }
        TextSource source(zip);
        FolderSink sink(*this, TidyPath(folder), failAt);
        result = WalkArchive(source, sink);
        if (result.outcome == ArchiveOutcome::kWriteError) result.entry = sink.path;
        if (fail && result.outcome == ArchiveOutcome::kOk)
            result = {ArchiveOutcome::kReadError, {}};
    }
    end();
    return result;
}

std::optional<std::uint64_t> MemoryLaunchSystem::freeSpaceKb() {
    const bool fail = begin("free space");
    end();
    return fail ? std::nullopt : freeKb;
}

std::string MemoryLaunchSystem::currentDirectory() {
    const bool fail = begin("current directory");
    end();
    return fail ? std::string() : current_;
}

bool MemoryLaunchSystem::setCurrentDirectory(const std::string& path) {
    const bool fail = begin("set current directory " + path);
    const bool done = !fail && isFolder(path);
    if (done) current_ = TidyPath(path);
    end();
    return done;
}

RunResult MemoryLaunchSystem::runAndWait(const std::string& folder,
                                         const std::string& commandLine) {
    RunResult result;
    if (!begin("run " + commandLine)) {
        result = {true, onRun ? onRun(folder, commandLine) : 0, {}};
    } else if (flavour_ % 3 == 0) {
        result = failedRun;
    } else if (flavour_ % 3 == 1) {
        result = {false, 4, {}};
    } else {
        result = {true, 9009, {}};
    }
    end();
    return result;
}

}  // namespace qv::test
