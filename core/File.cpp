// SPDX-License-Identifier: GPL-3.0-or-later
#include "File.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Core::Platform {

namespace {

// Calls op until it has done all n bytes: a short count goes on from there,
// an interruption is tried again. 0, or the errno (EIO when nothing moved).
template <class Op>
int Whole(Op op, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t moved = op(done);
        if (moved > 0)
            done += static_cast<std::size_t>(moved);
        else if (moved < 0 && errno == EINTR)
            continue;
        else
            return moved < 0 ? errno : EIO;
    }
    return 0;
}

} // namespace

std::optional<File> File::Open(const std::string& path, Mode mode, int& error)
{
    // Looked at first: a FIFO or a device is never opened at all.
    struct stat before;
    const bool there = ::lstat(path.c_str(), &before) == 0;
    if (!there && (errno != ENOENT || mode != Appending)) {
        error = errno;
        return std::nullopt;
    }
    if (there && !S_ISREG(before.st_mode)) {
        error = kNotRegularFile;
        return std::nullopt;
    }
    constexpr int kAlways = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int flags = mode == Reading ? O_RDONLY
        : mode == Writing             ? O_RDWR
                                      : O_WRONLY | O_CREAT | O_TRUNC | O_APPEND;
    File file(::open(path.c_str(), flags | kAlways, 0600));
    if (file.fd_ < 0) {
        error = errno == ELOOP ? kNotRegularFile : errno;
        return std::nullopt;
    }
    struct stat st;
    if (::fstat(file.fd_, &st) != 0) {
        error = errno;
        return std::nullopt;
    }
    // Something else put under the name since the look.
    if (!S_ISREG(st.st_mode) || (there && (st.st_dev != before.st_dev || st.st_ino != before.st_ino))) {
        error = kNotRegularFile;
        return std::nullopt;
    }
    file.length_ = st.st_size;
    file.device_ = st.st_dev;
    file.inode_ = st.st_ino;
    file.changed_ = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    error = 0;
    return file;
}

File::~File()
{
    if (fd_ >= 0)
        ::close(fd_);
}

File::File(File&& other) noexcept
    : fd_(other.fd_), length_(other.length_), device_(other.device_), inode_(other.inode_), changed_(other.changed_)
{
    other.fd_ = -1;
}

int File::ReadAt(std::int64_t offset, char* data, std::size_t n) const
{
    return Whole([&](std::size_t done) {
        const ssize_t got = ::pread(fd_, data + done, n - done, offset + static_cast<std::int64_t>(done));
        if (got == 0)
            errno = EIO; // the file ended first
        return got == 0 ? ssize_t(-1) : got;
    }, n);
}

int File::ReadEnd(std::array<char, 128>& last) const
{
    if (length_ < static_cast<std::int64_t>(last.size()))
        return EIO;
    return ReadAt(length_ - static_cast<std::int64_t>(last.size()), last.data(), last.size());
}

int File::WriteAt(std::int64_t offset, std::string_view bytes)
{
    return Whole([&](std::size_t done) {
        return ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<std::int64_t>(done));
    }, bytes.size());
}

int File::Append(std::string_view bytes)
{
    return Whole([&](std::size_t done) { return ::write(fd_, bytes.data() + done, bytes.size() - done); },
                 bytes.size());
}

int File::CutTo(std::int64_t length)
{
    return ::ftruncate(fd_, length) == 0 ? 0 : errno;
}

int File::Sync()
{
    return ::fdatasync(fd_) == 0 ? 0 : errno;
}

int File::Close()
{
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

Kind KindOf(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? Kind::None : Kind::Unknown;
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> IdentityOf(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return std::make_pair(static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino));
}

int MakeFolders(const std::string& folder)
{
    for (std::size_t i = folder.find('/', 1); i != std::string::npos; i = folder.find('/', i + 1))
        if (::mkdir(folder.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    ::closedir(dir);
    return names;
}

int ReplaceFile(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

std::optional<Lock> Lock::Take(const std::string& path, Result& result, int& error)
{
    error = 0;
    result = Failed;
    if (KindOf(path) == Kind::Other) {
        error = kNotRegularFile;
        return std::nullopt;
    }
    Lock lock(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (lock.fd_ < 0) {
        error = errno == ELOOP ? kNotRegularFile : errno;
        return std::nullopt;
    }
    // Per open file: a second run of this same process is refused as well.
    if (::flock(lock.fd_, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        result = error == EWOULDBLOCK ? Busy : Failed;
        return std::nullopt;
    }
    result = Taken;
    return lock;
}

Lock::~Lock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Lock::Lock(Lock&& other) noexcept : fd_(other.fd_)
{
    other.fd_ = -1;
}

} // namespace Core::Platform
