#include "RecordFile.h"

#include "TMP3Tag.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Quenlar::detail {
namespace {

[[noreturn]] void Fail(std::int32_t number)
{
    const char* text = "Device I/O error";
    switch (number) {
    case errFileNotFound: text = "File not found"; break;
    case errBadRecordNumber: text = "Bad record number"; break;
    case errPathFileAccess: text = "Path/File access error"; break;
    case errPathNotFound: text = "Path not found"; break;
    default: break;
    }
    throw LibraryError(number, "TMP3Tag", text);
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
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR: Fail(errPathFileAccess);
    default: Fail(errFileIO);
    }
}

bool RefusedForWriting(int error)
{
    return error == EACCES || error == EPERM || error == EROFS || error == ETXTBSY;
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
        FailOpen(error, path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        Fail(errPathFileAccess);
    }
    length_ = st.st_size;
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
    // Shrunk under us: what was read is not the record.
    if (n != static_cast<ssize_t>(r.size()))
        Fail(errFileIO);
    last_ = r;
    haveLast_ = true;
    return r;
}

void RecordFile::Write(const RawRecord& record, std::int64_t offset)
{
    if (!writable_)
        Fail(errPathFileAccess);
    const bool appending = offset >= length_;

    ssize_t n;
    do
        n = ::pwrite(fd_, record.data(), record.size(), offset);
    while (n < 0 && errno == EINTR);
    written_ = true;
    if (n == static_cast<ssize_t>(record.size()))
        return;

    const int error = n < 0 ? errno : 0;
    // Put the file back as it was: drop what an append added, or put back
    // the bytes a partial overwrite replaced.
    if (n > 0) {
        if (appending)
            (void)::ftruncate(fd_, length_);
        else if (haveLast_ && offset == length_ - static_cast<std::int64_t>(kRecordSize))
            (void)::pwrite(fd_, last_.data(), static_cast<std::size_t>(n), offset);
    }
    Fail(RefusedForWriting(error) ? errPathFileAccess : errFileIO);
}

void RecordFile::Close()
{
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && written_ && errno != EINTR)
        Fail(errFileIO);
}

} // namespace Quenlar::detail
