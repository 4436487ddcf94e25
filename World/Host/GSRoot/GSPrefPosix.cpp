#include "CarefulFile.hpp"
#include "DebugOutput.hpp"
#include "GSPrefBackend.hpp"
#include "StoreFilePosix.hpp"
#include "TextEncoding.hpp"

#include <mutex>
#include <utility>

// The file-backed registry: one store file per domain in the host's store folder, parsed once and
// kept. Other processes (a registry tool, say) write the files too, so every call first makes sure
// the file is still the one parsed: by its stamp when that can tell (StoreFile::IsSettled), by
// reading and comparing its bytes otherwise. Only bytes that differ are parsed again. A write reads,
// changes and writes the file under an exclusive lock on it, so that writers in other processes take
// turns instead of each writing its change over the file as it found it.
namespace GSPref::Backend {

namespace {

using GS::RegistryStore::Hive;
using GS::RegistryStore::Key;
using Path = std::vector<std::u16string>;

struct DomainStore {
    DomainStore(const char* file, const char* hiveTitle) : fileName(file), hiveName(hiveTitle) {}

    const char* fileName;
    const char* hiveName;
    bool loaded = false;
    // The file as it was last read.
    GS::StoreFile::Stamp stamp;
    bool settled = false;
    std::string bytes;
    Hive hive;
    // Why the store is unusable; empty when it is fine. `failure` is the code that calls report then.
    std::string diagnostic;
    GSErrCode failure = NoError;
    std::string printedDiagnostic;
    UInt64 parseCount = 0;
};

struct State {
    std::mutex mutex;
    std::string folder;
    DomainStore currentUser{"CurrentUser.reg", "HKEY_CURRENT_USER"};
    DomainStore localMachine{"LocalMachine.reg", "HKEY_LOCAL_MACHINE"};
};

State& GetState() {
    static State* state = new State;
    return *state;
}

DomainStore& StoreOf(State& state, RootKeyDomain domain) {
    return domain == RootKeyDomain::CurrentUser ? state.currentUser : state.localMachine;
}

std::string PathOf(const State& state, const DomainStore& store) {
    return state.folder + "/" + store.fileName;
}

std::u16string NameOf(const std::string& utf8Name) {
    return GS::TextEncoding::Decode(utf8Name.data(), utf8Name.size(), CC_UTF8);
}

void MarkUnusable(DomainStore& store, std::string diagnostic, GSErrCode failure) {
    store.hive = Hive{};
    store.diagnostic = std::move(diagnostic);
    store.failure = failure;
}

void Load(const State& state, DomainStore& store) {
    if (state.folder.empty()) {
        store.loaded = false;
        MarkUnusable(store, "the registry store folder is not set", GSErr::IOError);
        return;
    }
    const std::string path = PathOf(state, store);
    if (store.loaded && store.settled && GS::StoreFile::GetStamp(path) == store.stamp) {
        return;
    }
    const Int64 readStart = GS::StoreFile::WallClockNow();
    std::string bytes;
    std::string error;
    GS::StoreFile::Stamp stamp;
    if (!GS::StoreFile::Read(path, bytes, stamp, error)) {
        store.loaded = false;
        store.bytes.clear();
        MarkUnusable(store, error, GSErr::IOError);
        return;
    }
    store.stamp = stamp;
    store.settled = GS::StoreFile::IsSettled(stamp, readStart);
    if (store.loaded && bytes == store.bytes) {
        // The same bytes parse to the same hive, or fail at the same place.
        return;
    }
    store.loaded = true;
    store.bytes = std::move(bytes);
    ++store.parseCount;
    GS::RegistryStore::ParseResult parsed =
        GS::RegistryStore::Parse(store.bytes.data(), store.bytes.size(), store.hiveName, store.fileName);
    if (!parsed.ok) {
        MarkUnusable(store, parsed.error, GSErr::BadData);
        return;
    }
    store.hive = std::move(parsed.hive);
    store.diagnostic.clear();
    store.failure = NoError;
}

enum class Access { Read, Update };

// Brings the domain's store up to date with its file, under the state's lock (and for an update the
// file's lock), and prints a new diagnostic once the lock is released (the debug sink may call back
// into the host).
class LockedStore {
public:
    explicit LockedStore(RootKeyDomain domain, Access access = Access::Read)
        : state(GetState()), lock(state.mutex), store(StoreOf(state, domain)) {
        if (access == Access::Update && !state.folder.empty()) {
            if (!fileLock.Acquire(PathOf(state, store), lockError)) {
                return;
            }
            // Another process may have replaced the file within the clock tick of the last read:
            // compare the bytes rather than trust the stamp.
            store.settled = false;
        }
        Load(state, store);
        if (store.diagnostic != store.printedDiagnostic) {
            store.printedDiagnostic = store.diagnostic;
            toPrint = store.diagnostic;
        }
    }
    ~LockedStore() {
        lock.unlock();
        if (!toPrint.empty()) {
            DBPrintf("%hs\n", toPrint.c_str());
        }
    }
    LockedStore(const LockedStore&) = delete;
    LockedStore& operator=(const LockedStore&) = delete;

    GSErrCode Failure() const { return lockError.empty() ? store.failure : GSErr::IOError; }
    const std::string& Diagnostic() const { return store.diagnostic; }
    Key& Root() { return store.hive.root; }

    // Writes `changed` as the new file; the cached hive is read and parsed again on the next call,
    // so that a write by another process in the meantime is not hidden.
    GSErrCode Save(const Hive& changed) {
        std::string error;
        if (!GS::StoreFile::WriteAtomically(PathOf(state, store), GS::RegistryStore::Write(changed), error)) {
            return GSErr::IOError;
        }
        store.loaded = false;
        return NoError;
    }

private:
    State& state;
    std::unique_lock<std::mutex> lock;
    DomainStore& store;
    GS::CarefulFile::UpdateLock fileLock;
    std::string lockError;
    std::string toPrint;
};

class StoreKey final : public OpenedKey {
public:
    StoreKey(RootKeyDomain keyDomain, Path path) : domain(keyDomain), basePath(std::move(path)) {}

    GSErrCode EnumerateSubKeys(const std::string& keyPath, std::vector<std::u16string>& names) override {
        LockedStore store(domain);
        if (store.Failure() != NoError) {
            return store.Failure();
        }
        const Key* key = Find(store, keyPath);
        if (key == nullptr) {
            return GSErr::NotFound;
        }
        for (const Key& subKey : key->subKeys) {
            names.push_back(subKey.name);
        }
        return NoError;
    }

    GSErrCode ReadStringValue(const std::string& keyPath, const std::string& valueName,
                              std::u16string& text) override {
        LockedStore store(domain);
        if (store.Failure() != NoError) {
            return store.Failure();
        }
        const Key* key = Find(store, keyPath);
        const Value* value = key != nullptr ? key->FindValue(NameOf(valueName)) : nullptr;
        if (value == nullptr || value->type != GS::RegistryStore::StringType) {
            return GSErr::NotFound;
        }
        text = value->text;
        return NoError;
    }

private:
    const Key* Find(LockedStore& store, const std::string& keyPath) const {
        Path path = basePath;
        for (std::u16string& component : GS::RegistryStore::SplitKeyPath(keyPath)) {
            path.push_back(std::move(component));
        }
        return GS::RegistryStore::FindKey(store.Root(), path);
    }

    RootKeyDomain domain;
    Path basePath;
};

bool AllStorable(const Path& path) {
    for (const std::u16string& name : path) {
        if (!GS::RegistryStore::IsStorableName(name)) {
            return false;
        }
    }
    return true;
}

} // namespace

OpenedKey::~OpenedKey() = default;

std::unique_ptr<OpenedKey> Open(RootKeyDomain domain, const std::string& keyPath) {
    Path path = GS::RegistryStore::SplitKeyPath(keyPath);
    LockedStore store(domain);
    if (store.Failure() != NoError || GS::RegistryStore::FindKey(store.Root(), path) == nullptr) {
        return nullptr;
    }
    return std::make_unique<StoreKey>(domain, std::move(path));
}

GSErrCode WriteValue(RootKeyDomain domain, const std::string& keyPath, Value value) {
    const Path path = GS::RegistryStore::SplitKeyPath(keyPath);
    if (!AllStorable(path)) {
        return GSErr::BadParameter;
    }
    LockedStore store(domain, Access::Update);
    if (store.Failure() != NoError) {
        return store.Failure();
    }
    Hive changed{store.Root()};
    GS::RegistryStore::MakeKey(changed.root, path).SetValue(std::move(value));
    return store.Save(changed);
}

GSErrCode ReadValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName,
                    Value& value) {
    LockedStore store(domain);
    if (store.Failure() != NoError) {
        return store.Failure();
    }
    const Key* key = GS::RegistryStore::FindKey(store.Root(), GS::RegistryStore::SplitKeyPath(keyPath));
    const Value* found = key != nullptr ? key->FindValue(NameOf(valueName)) : nullptr;
    if (found == nullptr) {
        return GSErr::NotFound;
    }
    value = *found;
    return NoError;
}

GSErrCode DeleteValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName) {
    LockedStore store(domain, Access::Update);
    if (store.Failure() != NoError) {
        return store.Failure();
    }
    Hive changed{store.Root()};
    Key* key = GS::RegistryStore::FindKey(changed.root, GS::RegistryStore::SplitKeyPath(keyPath));
    if (key == nullptr || !key->RemoveValue(NameOf(valueName))) {
        return GSErr::NotFound;
    }
    return store.Save(changed);
}

GSErrCode DeleteKey(RootKeyDomain domain, const std::string& keyPath) {
    Path path = GS::RegistryStore::SplitKeyPath(keyPath);
    LockedStore store(domain, Access::Update);
    if (store.Failure() != NoError) {
        return store.Failure();
    }
    const std::u16string last = path.back();
    path.pop_back();
    Hive changed{store.Root()};
    Key* parent = GS::RegistryStore::FindKey(changed.root, path);
    if (parent == nullptr || !parent->RemoveSubKey(last)) {
        return GSErr::NotFound;
    }
    return store.Save(changed);
}

void SetStoreFolder(const std::string& utf8FolderPath) {
    State& state = GetState();
    std::lock_guard lock(state.mutex);
    std::string folder = utf8FolderPath;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    state.folder = std::move(folder);
    for (DomainStore* store : {&state.currentUser, &state.localMachine}) {
        store->loaded = false;
        store->bytes.clear();
        store->printedDiagnostic.clear();
    }
}

std::string GetStoreDiagnostic(RootKeyDomain domain) {
    LockedStore store(domain);
    return store.Diagnostic();
}

UInt64 GetStoreParseCount(RootKeyDomain domain) {
    State& state = GetState();
    std::lock_guard lock(state.mutex);
    return StoreOf(state, domain).parseCount;
}

} // namespace GSPref::Backend
