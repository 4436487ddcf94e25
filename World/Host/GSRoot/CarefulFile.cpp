#include "CarefulFile.hpp"

#include "CarefulFilePlatform.hpp"

#include <atomic>
#include <charconv>
#include <system_error>

namespace GS::CarefulFile {

namespace {

using Platform::FolderOf;
using Platform::Utf8Of;

// "<target name>.tmp-": every temporary file of a target starts so, whoever wrote it.
std::string TemporaryPrefixOf(const std::filesystem::path& target) {
    return Utf8Of(target.filename()) + ".tmp-";
}

// Unique among the writers of one folder: the process id tells processes apart, the count the
// writes of one process (several threads may write the same target).
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
    static std::atomic<std::uint64_t> count{0};
    const std::string name = TemporaryPrefixOf(target) + std::to_string(Platform::CurrentProcessId()) + "-" +
                             std::to_string(count.fetch_add(1));
    const std::u8string utf8Name(name.begin(), name.end());
    return FolderOf(target) / std::filesystem::path(utf8Name);
}

// The process id in "<prefix><id>-<count>", when the name is of that form.
bool WriterOf(const std::string& name, const std::string& prefix, std::uint64_t& processId) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const char* begin = name.data() + prefix.size();
    const char* end = name.data() + name.size();
    const auto [next, fault] = std::from_chars(begin, end, processId);
    if (fault != std::errc() || next == begin || next == end || *next != '-') {
        return false;
    }
    std::uint64_t sequence = 0;
    const auto [last, sequenceFault] = std::from_chars(next + 1, end, sequence);
    return sequenceFault == std::errc() && last == end && last != next + 1;
}

// Temporary files of `target` whose writer is gone were left by a crash or a kill: nobody will
// rename them any more. Those of running writers (this process included) are theirs to finish.
void RemoveLeftovers(const std::filesystem::path& target) {
    const std::string prefix = TemporaryPrefixOf(target);
    std::error_code failure;
    std::filesystem::directory_iterator entries(FolderOf(target), failure);
    for (; !failure && entries != std::filesystem::directory_iterator(); entries.increment(failure)) {
        std::uint64_t writer = 0;
        if (!WriterOf(Utf8Of(entries->path().filename()), prefix, writer) ||
            writer == Platform::CurrentProcessId() || !Platform::ProcessIsGone(writer)) {
            continue;
        }
        std::error_code ignored;
        std::filesystem::remove(entries->path(), ignored);
    }
}

// The temporary file as a producer sees it. The first failure is kept with the system's reason, and
// every write after it is refused, so that a producer that does not look at each answer still fails.
class NewFileWriter final : public FileWriter {
public:
    NewFileWriter(std::intptr_t openFile, const std::filesystem::path& filePath)
        : file(openFile), path(filePath) {}

    bool Append(std::string_view bytes) override {
        if (!Put(size, bytes)) {
            return false;
        }
        size += bytes.size();
        return true;
    }
    bool WriteAt(std::uint64_t offset, std::string_view bytes) override {
        if (offset > size || bytes.size() > size - offset) {
            return Fail("cannot write " + Utf8Of(path) + ": a write again past what was written");
        }
        return Put(offset, bytes);
    }
    std::uint64_t Size() const override { return size; }

    const std::string& Failure() const { return failure; }

private:
    bool Put(std::uint64_t offset, std::string_view bytes) {
        if (!failure.empty()) {
            return false;
        }
        return Platform::WriteAt(file, bytes, offset) ||
               Fail(Platform::DescribeLastError("cannot write", path));
    }
    bool Fail(std::string reason) {
        failure = std::move(reason);
        return false;
    }

    std::intptr_t file;
    const std::filesystem::path& path;
    std::uint64_t size = 0;
    std::string failure;
};

// Creates `temporary`, has `produce` write it and puts what it wrote on the disk.
bool WriteNew(const std::filesystem::path& temporary, const FileProducer& produce,
              const std::filesystem::path& target, std::string& error) {
    const std::intptr_t file = Platform::CreateNew(temporary, target, error);
    if (file == Platform::NoHandle) {
        return false;
    }
    NewFileWriter writer(file, temporary);
    bool produced = false;
    try {
        produced = produce(writer, error);
    } catch (...) {
        Platform::Close(file);
        throw;
    }
    if (!writer.Failure().empty()) {
        error = writer.Failure();
        produced = false;
    }
    if (!produced) {
        Platform::Close(file);
        return false;
    }
    if (!Platform::SyncAndClose(file)) {
        error = Platform::DescribeLastError("cannot write", temporary);
        return false;
    }
    return true;
}

std::string KindName(Platform::Kind kind) {
    return kind == Platform::Kind::Folder ? "a folder" : "not a regular file";
}

// A target that is a symbolic link is written through to the file it names, as an editor does: a
// rename over the link itself would put a regular file in its place and leave the named file old.
// A chain of links is followed to its end; a loop is refused.
bool FollowLinks(std::filesystem::path& target, std::string& error) {
    constexpr int MostLinks = 40; // as many as a POSIX path lookup follows
    const std::filesystem::path asGiven = target;
    for (int link = 0; link < MostLinks; ++link) {
        std::error_code failure;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, failure))) {
            return true;
        }
        const std::filesystem::path named = std::filesystem::read_symlink(target, failure);
        if (failure) {
            error = "cannot write " + Utf8Of(asGiven) +
                    ": its symbolic link cannot be read: " + failure.message();
            return false;
        }
        target = named.is_absolute() ? named : FolderOf(target) / named;
    }
    error = "cannot write " + Utf8Of(asGiven) + ": more than " + std::to_string(MostLinks) +
            " symbolic links in a row (a loop?)";
    return false;
}

} // namespace

std::filesystem::path LockPathOf(const std::filesystem::path& target) {
    std::filesystem::path lock = target;
    lock += ".lock";
    return lock;
}

ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::string& bytes, std::string& error) {
    bytes.clear();
    const Platform::Entry entry = Platform::Inspect(path);
    if (entry.kind == Platform::Kind::Missing) {
        return ReadOutcome::Missing;
    }
    if (entry.kind != Platform::Kind::Regular) {
        error = "cannot read " + Utf8Of(path) + ": it is " + KindName(entry.kind);
        return ReadOutcome::Refused;
    }
    return Platform::ReadAll(path, bytes, error) ? ReadOutcome::Read : ReadOutcome::Refused;
}

std::string WriteRefusal(const std::filesystem::path& target) {
    const std::filesystem::path folderPath = FolderOf(target);
    const Platform::Entry folder = Platform::Inspect(folderPath);
    if (folder.kind == Platform::Kind::Missing) {
        return "cannot write " + Utf8Of(target) + ": its folder " + Utf8Of(folderPath) + " does not exist";
    }
    if (folder.kind != Platform::Kind::Folder) {
        return "cannot write " + Utf8Of(target) + ": " + Utf8Of(folderPath) + " is not a folder";
    }
    if (folder.markedReadOnly) {
        return "cannot write " + Utf8Of(target) + ": its folder " + Utf8Of(folderPath) +
               " is marked read-only";
    }
    const Platform::Entry file = Platform::Inspect(target);
    if (file.kind != Platform::Kind::Missing && file.kind != Platform::Kind::Regular) {
        return "cannot write " + Utf8Of(target) + ": it is " + KindName(file.kind);
    }
    if (file.markedReadOnly) {
        return "cannot write " + Utf8Of(target) + ": it is marked read-only";
    }
    return {};
}

bool ReplaceFileWith(const std::filesystem::path& given, const FileProducer& produce, std::string& error) {
    std::filesystem::path target = given;
    if (!FollowLinks(target, error)) {
        return false;
    }
    if (target.filename().empty()) {
        error = "cannot write " + Utf8Of(target) + ": no file name";
        return false;
    }
    if (std::string refusal = WriteRefusal(target); !refusal.empty()) {
        error = std::move(refusal);
        return false;
    }
    const std::filesystem::path temporary = TemporaryPathFor(target);
    const auto removeTemporary = [&] {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    };
    bool replaced = false;
    try {
        replaced =
            WriteNew(temporary, produce, target, error) && Platform::RenameOver(temporary, target, error);
    } catch (...) {
        // A producer that throws (out of memory, say) abandons the replacement like one that refuses.
        removeTemporary();
        throw;
    }
    if (!replaced) {
        removeTemporary();
        return false;
    }
    RemoveLeftovers(target);
    return true;
}

bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string& error) {
    return ReplaceFileWith(
        target, [bytes](FileWriter& file, std::string&) { return file.Append(bytes); }, error);
}

UpdateLock::~UpdateLock() {
    Release();
}

UpdateLock::UpdateLock(UpdateLock&& other) noexcept
    : handle(other.handle), lockFile(std::move(other.lockFile)) {
    other.handle = NoHandle;
}

UpdateLock& UpdateLock::operator=(UpdateLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle = other.handle;
        lockFile = std::move(other.lockFile);
        other.handle = NoHandle;
    }
    return *this;
}

bool UpdateLock::Acquire(const std::filesystem::path& given, std::string& error) {
    Release();
    // Writers through a link and writers of the file it names take their turns on one lock.
    std::filesystem::path target = given;
    if (!FollowLinks(target, error)) {
        return false;
    }
    // A lock file made in a read-only folder would itself be a write the marks forbid.
    if (std::string refusal = WriteRefusal(target); !refusal.empty()) {
        error = std::move(refusal);
        return false;
    }
    lockFile = LockPathOf(target);
    handle = Platform::LockExclusive(lockFile, error);
    return handle != NoHandle;
}

void UpdateLock::Release() {
    if (handle != NoHandle) {
        Platform::Unlock(handle, lockFile);
        handle = NoHandle;
    }
}

} // namespace GS::CarefulFile
