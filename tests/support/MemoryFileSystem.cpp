#include "support/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

namespace iwv::test {

using platform::SystemError;
using Kind = SystemError::Kind;

struct MemoryFileSystem::Node {
    bool directory = false;
    std::string data;     // a file's bytes now
    std::string durable;  // what a power cut leaves of them
    std::uint64_t allocated = 0;
    std::map<std::string, NodePtr> children;         // a folder's entries now
    std::map<std::string, NodePtr> durableChildren;  // what a power cut leaves of them
    std::optional<Hold> hold;
    std::uint64_t heldUntil = 0;
    bool onSmallDisk = false;
};

namespace {

SystemError Fails(Kind kind) { return platform::SystemErrorOfKind(kind); }

std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path + "\\") {
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    return parts;
}

using Node = MemoryFileSystem::Node;
using NodePtr = MemoryFileSystem::NodePtr;

NodePtr NewNode(bool directory) {
    auto node = std::make_shared<Node>();
    node->directory = directory;
    return node;
}

class MemoryReadableFile final : public platform::ReadableFile {
public:
    explicit MemoryReadableFile(NodePtr node) : node_(std::move(node)) {}
    SystemError Read(char* data, std::size_t capacity, std::size_t& read) override {
        ReadAt(position_, data, capacity, read);
        position_ += read;
        return {};
    }
    SystemError ReadAt(std::uint64_t offset, char* data, std::size_t capacity, std::size_t& read) override {
        const std::uint64_t size = node_->data.size();
        read = offset >= size ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size - offset));
        if (read > 0) std::memcpy(data, node_->data.data() + offset, read);
        return {};
    }

private:
    NodePtr node_;
    std::uint64_t position_ = 0;
};

class MemoryWritableFile final : public platform::WritableFile {
public:
    MemoryWritableFile(MemoryFileSystem& disk, NodePtr node, bool append)
        : disk_(disk), node_(std::move(node)), append_(append) {}

    SystemError Write(const char* data, std::size_t size) override {
        if (append_) position_ = node_->data.size();
        const SystemError full = disk_.Allocate(*node_, position_ + size);
        const std::uint64_t fits =
            !full ? size : node_->allocated > position_ ? std::min<std::uint64_t>(size, node_->allocated - position_) : 0;
        if (node_->data.size() < position_ + fits) node_->data.resize(static_cast<std::size_t>(position_ + fits));
        node_->data.replace(static_cast<std::size_t>(position_), static_cast<std::size_t>(fits), data,
                            static_cast<std::size_t>(fits));
        position_ += fits;
        return full;
    }
    SystemError SetLength(std::uint64_t size) override { return disk_.Resize(*node_, size); }
    SystemError Flush() override {
        node_->durable = node_->data;
        return {};
    }
    SystemError FlushAside() override { return Flush(); }
    SystemError Close() override { return {}; }

private:
    MemoryFileSystem& disk_;
    NodePtr node_;
    bool append_;
    std::uint64_t position_ = 0;
};

class MemoryLock final : public platform::FileLock {
public:
    MemoryLock(std::set<std::string>& locks, std::string key) : locks_(locks), key_(std::move(key)) {}
    ~MemoryLock() override { locks_.erase(key_); }

private:
    std::set<std::string>& locks_;
    std::string key_;
};

std::string Key(const std::string& path) {
    std::string key;
    for (const std::string& part : Parts(path)) key += "\\" + part;
    return key;
}

void Collect(const Node& folder, const std::string& prefix, std::map<std::string, std::string>& files) {
    for (const auto& [name, node] : folder.children) {
        if (node->directory)
            Collect(*node, prefix + name + "\\", files);
        else
            files[prefix + name] = node->data;
    }
}

std::uint64_t Allocated(const Node& node) {
    std::uint64_t used = node.onSmallDisk ? node.allocated : 0;
    for (const auto& [name, child] : node.children) used += Allocated(*child);
    return used;
}

// What a folder is after a power cut: the entries it had on disk, each as it
// was on disk.
NodePtr Survivor(const Node& node) {
    NodePtr copy = NewNode(node.directory);
    copy->data = copy->durable = node.durable;
    copy->allocated = copy->data.size();
    for (const auto& [name, child] : node.durableChildren) copy->children[name] = Survivor(*child);
    copy->durableChildren = copy->children;
    return copy;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() : root_(NewNode(true)) {}

MemoryFileSystem::Found MemoryFileSystem::Find(const std::string& path) const {
    const std::vector<std::string> parts = Parts(path);
    if (parts.empty()) return {nullptr, "", root_};
    NodePtr folder = root_;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const auto next = folder->children.find(parts[i]);
        if (next == folder->children.end() || !next->second->directory) return {nullptr, parts.back(), nullptr};
        folder = next->second;
    }
    const auto found = folder->children.find(parts.back());
    return {folder, parts.back(), found == folder->children.end() ? nullptr : found->second};
}

void MemoryFileSystem::MakeFolders(const std::string& path) {
    NodePtr folder = root_;
    for (const std::string& part : Parts(path)) {
        NodePtr& child = folder->children[part];
        if (!child) child = NewNode(true);
        folder->durableChildren[part] = child;
        folder = child;
    }
}

void MemoryFileSystem::Put(const std::string& path, const std::string& bytes) {
    const std::vector<std::string> parts = Parts(path);
    std::string folder;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) folder += "\\" + parts[i];
    MakeFolders(folder);
    const Found found = Find(path);
    NodePtr file = NewNodeIn(found.parent, false);
    file->data = file->durable = bytes;
    file->allocated = bytes.size();
    found.parent->children[found.name] = file;
    found.parent->durableChildren[found.name] = file;
}

std::optional<std::string> MemoryFileSystem::Get(const std::string& path) const {
    const Found found = Find(path);
    if (!found.node || found.node->directory) return std::nullopt;
    return found.node->data;
}

std::map<std::string, std::string> MemoryFileSystem::FilesUnder(const std::string& folder) const {
    std::map<std::string, std::string> files;
    const Found found = Find(folder);
    if (found.node && found.node->directory) Collect(*found.node, "", files);
    return files;
}

void MemoryFileSystem::HoldFile(const std::string& path, Hold hold, std::uint64_t until) {
    const Found found = Find(path);
    if (!found.node) return;
    found.node->hold = hold;
    found.node->heldUntil = until;
}

void MemoryFileSystem::SetCapacity(const std::string& folder, std::uint64_t bytes, bool sparse) {
    smallDisk_ = Find(folder).node;
    for (const auto& [name, node] : smallDisk_->children) node->onSmallDisk = true;
    capacity_ = bytes;
    sparse_ = sparse;
}

MemoryFileSystem::NodePtr MemoryFileSystem::NewNodeIn(const NodePtr& parent, bool directory) const {
    NodePtr node = NewNode(directory);
    node->onSmallDisk = parent && (parent == smallDisk_ || parent->onSmallDisk);
    return node;
}

std::unique_ptr<MemoryFileSystem> MemoryFileSystem::AfterPowerCut() const {
    auto disk = std::make_unique<MemoryFileSystem>();
    disk->root_ = Survivor(*root_);
    return disk;
}

std::optional<MemoryFileSystem::Hold> MemoryFileSystem::HeldAs(const Node& node) const {
    if (!node.hold || (clock_ && clock_() >= node.heldUntil)) return std::nullopt;
    return node.hold;
}

std::uint64_t MemoryFileSystem::Used() const { return Allocated(*root_); }

SystemError MemoryFileSystem::Allocate(Node& file, std::uint64_t end) {
    if (end <= file.allocated || !file.onSmallDisk) {
        file.allocated = std::max(file.allocated, end);
        return {};
    }
    const std::uint64_t room = capacity_ ? *capacity_ - std::min(*capacity_, Used()) : UINT64_MAX;
    if (end - file.allocated <= room) {
        file.allocated = end;
        return {};
    }
    file.allocated += room;
    return Fails(Kind::DiskFull);
}

SystemError MemoryFileSystem::Resize(Node& file, std::uint64_t size) {
    if (!sparse_ || !file.onSmallDisk) {
        const std::uint64_t before = file.allocated;
        if (const SystemError full = Allocate(file, size)) {
            file.allocated = before;
            return full;
        }
    }
    file.data.resize(static_cast<std::size_t>(size));
    file.allocated = std::min(file.allocated, size);
    return {};
}

SystemError MemoryFileSystem::OpenForReading(const std::string& path, Sharing sharing,
                                             std::unique_ptr<platform::ReadableFile>& file) {
    const Found found = Find(path);
    if (!found.node) return Fails(Kind::NotFound);
    if (found.node->directory) return Fails(Kind::Denied);
    const std::optional<Hold> hold = HeldAs(*found.node);
    if (hold == Hold::Exclusive || (hold && sharing == Sharing::RefuseWriters)) return Fails(Kind::InUse);
    file = std::make_unique<MemoryReadableFile>(found.node);
    return {};
}

SystemError MemoryFileSystem::CreateNew(const std::string& path, std::unique_ptr<platform::WritableFile>& file) {
    const Found found = Find(path);
    if (!found.parent) return Fails(Kind::NotFound);
    if (found.node) return Fails(Kind::Exists);
    NodePtr node = NewNodeIn(found.parent, false);
    found.parent->children[found.name] = node;
    file = std::make_unique<MemoryWritableFile>(*this, node, false);
    return {};
}

SystemError MemoryFileSystem::OpenForAppending(const std::string& path, std::unique_ptr<platform::WritableFile>& file) {
    const Found found = Find(path);
    if (!found.parent) return Fails(Kind::NotFound);
    if (found.node && found.node->directory) return Fails(Kind::Denied);
    if (found.node && HeldAs(*found.node) == Hold::Exclusive) return Fails(Kind::InUse);
    NodePtr node = found.node ? found.node : (found.parent->children[found.name] = NewNodeIn(found.parent, false));
    file = std::make_unique<MemoryWritableFile>(*this, node, true);
    return {};
}

SystemError MemoryFileSystem::OpenForOverwriting(const std::string& path,
                                                 std::unique_ptr<platform::WritableFile>& file) {
    const Found found = Find(path);
    if (!found.node) return Fails(Kind::NotFound);
    if (found.node->directory) return Fails(Kind::Denied);
    if (HeldAs(*found.node) == Hold::Exclusive) return Fails(Kind::InUse);
    file = std::make_unique<MemoryWritableFile>(*this, found.node, false);
    return {};
}

SystemError MemoryFileSystem::Status(const std::string& path, platform::FileStatus& status) {
    const Found found = Find(path);
    if (!found.node) return Fails(Kind::NotFound);
    status.directory = found.node->directory;
    status.readOnly = false;
    status.size = found.node->data.size();
    return {};
}

SystemError MemoryFileSystem::List(const std::string& directory, std::vector<platform::DirectoryEntry>& entries) {
    const Found found = Find(directory);
    if (!found.node || !found.node->directory) return Fails(Kind::NotFound);
    for (const auto& [name, node] : found.node->children) entries.push_back({name, node->directory});
    return {};
}

SystemError MemoryFileSystem::Remove(const std::string& path) {
    const Found found = Find(path);
    if (!found.node) return Fails(Kind::NotFound);
    if (found.node->directory) return Fails(Kind::Denied);
    if (HeldAs(*found.node)) return Fails(Kind::InUse);
    found.parent->children.erase(found.name);
    return {};
}

SystemError MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    const Found source = Find(from);
    const Found target = Find(to);
    if (!source.node || !target.parent) return Fails(Kind::NotFound);
    if (HeldAs(*source.node) || (target.node && HeldAs(*target.node))) return Fails(Kind::InUse);
    if (target.node && (target.node->directory || source.node->directory)) return Fails(Kind::Exists);
    NodePtr node = source.node;
    source.parent->children.erase(source.name);
    target.parent->children[target.name] = node;
    return {};
}

SystemError MemoryFileSystem::Replace(const std::string& target, const std::string& replacement) {
    const Found found = Find(target);
    if (found.node && HeldAs(*found.node)) return Fails(Kind::InUse);
    return Rename(replacement, target);
}

SystemError MemoryFileSystem::MakeDirectory(const std::string& path) {
    const Found found = Find(path);
    if (!found.parent) return Fails(Kind::NotFound);
    if (found.node) return Fails(Kind::Exists);
    found.parent->children[found.name] = NewNodeIn(found.parent, true);
    return {};
}

SystemError MemoryFileSystem::RemoveEmptyDirectory(const std::string& path) {
    const Found found = Find(path);
    if (!found.node) return Fails(Kind::NotFound);
    if (!found.node->directory) return Fails(Kind::Other);
    if (!found.node->children.empty()) return Fails(Kind::Exists);
    found.parent->children.erase(found.name);
    return {};
}

SystemError MemoryFileSystem::FlushDirectory(const std::string& path) {
    const Found found = Find(path);
    if (!found.node || !found.node->directory) return Fails(Kind::NotFound);
    found.node->durableChildren = found.node->children;
    return {};
}

SystemError MemoryFileSystem::Lock(const std::string& path, std::unique_ptr<platform::FileLock>& lock) {
    if (!Find(path).parent) return Fails(Kind::NotFound);
    const std::string key = Key(path);
    if (!locks_.insert(key).second) return Fails(Kind::InUse);
    lock = std::make_unique<MemoryLock>(locks_, key);
    return {};
}

}  // namespace iwv::test
