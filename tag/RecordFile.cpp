// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RecordFile.h"

#include "TMP3Tag.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Quenlar::detail {
namespace {

LibraryError Error(std::int32_t number)
{
    const char* text = "Device I/O error";
    switch (number) {
    case errFileNotFound: text = "File not found"; break;
    case errBadRecordNumber: text = "Bad record number"; break;
    case errPathFileAccess: text = "Path/File access error"; break;
    case errPathNotFound: text = "Path not found"; break;
    default: break;
    }
    return LibraryError(number, "TMP3Tag", text);
}

[[noreturn]] void Fail(std::int32_t number)
{
    throw Error(number);
}

bool RefusedForWriting(int error)
{
    return error == EACCES || error == EPERM || error == EROFS || error == ETXTBSY;
}

// A failure the system reported: the number tells the kind, the system's own
// reason says why. The reason stays English whatever the caller's locale.
LibraryError SystemError(int error)
{
    if (RefusedForWriting(error))
        return Error(errPathFileAccess);
    std::int32_t number = errFileIO;
    const char* text = "Device I/O error";
    switch (error) {
    case ENOSPC:
    case EDQUOT: number = errDiskFull; text = "Disk full"; break;
    case ENAMETOOLONG:
    case ELOOP: number = errBadFileName; text = "Bad file name"; break;
    case EMFILE:
    case ENFILE: number = errTooManyFiles; text = "Too many files"; break;
    default: break;
    }
    const char* reason = ::strerrordesc_np(error);
    return LibraryError(number, "TMP3Tag",
                        std::string(text) + " (" + (reason ? reason : "error " + std::to_string(error)) + ")");
}

[[noreturn]] void FailSystem(int error)
{
    throw SystemError(error);
}

// Writes all `size` bytes at the offset. A write that stops short (a full
// disk, a size limit) is continued: the next call either finishes or tells
// why it cannot. Gives 0 or the error that stopped it; `done` counts the
// bytes written either way.
int WriteAt(int fd, const char* data, std::size_t size, std::int64_t offset, std::size_t& done)
{
    done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + static_cast<std::int64_t>(done));
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return n < 0 ? errno : EIO;
    }
    return 0;
}

bool FolderExists(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return true; // the current folder
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

[[noreturn]] void FailOpen(int error, const std::string& path)
{
    switch (error) {
    case ENOENT: Fail(FolderExists(path) ? errFileNotFound : errPathNotFound);
    case ENOTDIR: Fail(errPathNotFound);
    case EISDIR: Fail(errPathFileAccess);
    default: FailSystem(error);
    }
}

} // namespace

RecordFile::RecordFile(const std::string& path, bool forWriting)
{
    // O_NONBLOCK: a FIFO that happens to carry the name must not hang the open.
    constexpr int kFlags = O_NONBLOCK | O_CLOEXEC;
    if (forWriting) {
        fd_ = ::open(path.c_str(), O_RDWR | kFlags);
        writable_ = fd_ >= 0;
        if (fd_ < 0 && RefusedForWriting(errno))
            fd_ = ::open(path.c_str(), O_RDONLY | kFlags);
    } else {
        fd_ = ::open(path.c_str(), O_RDONLY | kFlags);
    }
    if (fd_ < 0)
        FailOpen(errno, path);

    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        const int error = errno;
        ::close(fd_);
        FailSystem(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        Fail(errPathFileAccess);
    }
    length_ = st.st_size;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    changed_ = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    // A clear owner-write bit is the read-only attribute; root is refused too.
    if ((st.st_mode & S_IWUSR) == 0)
        writable_ = false;
}

RecordFile::~RecordFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

RawRecord RecordFile::ReadLast()
{
    if (length_ < static_cast<std::int64_t>(kRecordSize))
        Fail(errBadRecordNumber);
    RawRecord r;
    ssize_t n;
    do
        n = ::pread(fd_, r.data(), r.size(), length_ - static_cast<std::int64_t>(kRecordSize));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        FailSystem(errno);
    // Shrunk under us: what was read is not the record.
    if (n != static_cast<ssize_t>(r.size()))
        throw LibraryError(errFileIO, "TMP3Tag", "Device I/O error (the file shrank while it was read)");
    last_ = r;
    haveLast_ = true;
    return r;
}

void RecordFile::Write(const RawRecord& record, std::int64_t offset)
{
    if (!writable_)
        Fail(errPathFileAccess);
    const bool appending = offset >= length_;

    std::size_t done = 0;
    const int error = WriteAt(fd_, record.data(), record.size(), offset, done);
    written_ = true;
    if (error == 0)
        return;

    // Best effort: put the file back as it was, by dropping what an append
    // added or putting back the bytes a partial overwrite replaced. The
    // write's own failure is what is reported either way; when the file
    // could not be put back, the report says so too.
    bool putBack = true;
    if (done > 0) {
        if (appending) {
            putBack = ::ftruncate(fd_, length_) == 0;
        } else if (haveLast_ && offset == length_ - static_cast<std::int64_t>(kRecordSize)) {
            std::size_t restored = 0;
            putBack = WriteAt(fd_, last_.data(), done, offset, restored) == 0;
        } else {
            putBack = false; // nothing known to put back
        }
    }
    const LibraryError failure = SystemError(error);
    if (putBack)
        throw failure;
    throw LibraryError(failure.Number(), failure.Source(),
                       failure.Description() + "; the file is left partly written");
}

void RecordFile::Close()
{
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && written_ && errno != EINTR)
        FailSystem(errno);
}

} // namespace Quenlar::detail
