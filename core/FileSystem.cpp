// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystem.h"

#include "File.h"
#include "Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace Core::Platform {

std::int32_t GetFileAttributesA(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return faInvalid;
    std::int32_t a = 0;
    if (!(st.st_mode & S_IWUSR))
        a |= faReadOnly;
    if (IsHiddenName(FileName(path)))
        a |= faHidden;
    if (S_ISDIR(st.st_mode))
        a |= faDirectory;
    return a;
}

bool SetFileAttributesA(const std::string& path, std::int32_t attributes)
{
    // A negative value is not a set of attributes (faInvalid from a failed
    // read, or that less one): refuse it rather than guess.
    if (attributes < 0)
        return false;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    const mode_t mode = st.st_mode & 07777;
    const mode_t wanted = (attributes & faReadOnly) ? (mode & ~S_IWUSR) : (mode | S_IWUSR);
    return wanted == mode || ::chmod(path.c_str(), wanted) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return !IsHiddenName(FileName(path)) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> ListMp3Files(const std::string& folder, int* error, Links links,
                                      std::vector<std::string>* folders)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (error)
        *error = dir ? 0 : errno;
    if (!dir)
        return names;
    const bool followLinks = links == Links::Followed;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name, std::strlen(e->d_name));
        if (IsHiddenName(name))
            continue;
        const bool mp3 = HasMp3Extension(name);
        if (!mp3 && !folders)
            continue;
        // The directory entry usually knows the type; ask only when it does
        // not, or for a link that counts by what it leads to.
        mode_t type = DTTOIF(e->d_type);
        if (e->d_type == DT_UNKNOWN || (e->d_type == DT_LNK && followLinks)) {
            struct stat st;
            const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
            type = ::fstatat(::dirfd(dir), e->d_name, &st, flags) == 0 ? st.st_mode & S_IFMT : 0;
        }
        if (mp3 && type == S_IFREG)
            names.emplace_back(name);
        else if (folders && type == S_IFDIR)
            folders->emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

int RenameFile(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;

    // The file system cannot rename without replacing: a hard link fails on
    // a taken name just the same.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0)
            return 0;
        const int e = errno;
        ::unlink(to.c_str()); // back to one name, the old one
        return e;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;

    // No hard links either (FAT and the like): test, then rename. Only a file
    // created in between these two calls could still be replaced.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RenameThroughFreeName(const std::string& from, const std::string& to, std::string* stranded)
{
    // A name that shows in the listings: should the way back fail, the user
    // still finds the file.
    std::string temporary;
    int error = EEXIST;
    for (int n = 1; error == EEXIST && n <= 100; ++n) {
        temporary = GetFolder(from) + "morvik-" + std::to_string(::getpid()) + "-" + std::to_string(n) + ".mp3";
        error = RenameFile(from, temporary);
    }
    if (error)
        return error;
    error = RenameFile(temporary, to);
    if (error && RenameFile(temporary, from) != 0 && stranded)
        *stranded = temporary;
    return error;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

bool HasEntry(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* e = ::readdir(dir))
        if (name == e->d_name) {
            found = true;
            break;
        }
    ::closedir(dir);
    return found;
}

std::string RealPath(const std::string& path)
{
    char* real = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (!real)
        return std::string();
    std::string result(real);
    std::free(real);
    return result;
}

bool MayChangeFolder(const std::string& folder)
{
    return ::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

WriteBar WhyNotWritable(const std::string& path)
{
    struct statvfs volume;
    if (::statvfs(path.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY))
        return WriteBar::ReadOnlyVolume;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return WriteBar::Unknown;
    const uid_t me = ::geteuid();
    if (!(st.st_mode & S_IWUSR) && (me == 0 || me == st.st_uid))
        return WriteBar::ReadOnlyAttribute;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return WriteBar::NoPermission;
    return WriteBar::Unknown;
}

std::string ErrorText(int errnum)
{
    switch (errnum) {
    case EEXIST:
        return "Файл с таким именем уже существует.";
    case ENOENT:
        return "Файл или папка не найдены.";
    case ENOTDIR:
        return "Часть пути не является папкой.";
    case EISDIR:
        return "По этому пути находится папка.";
    case EACCES:
    case EPERM:
        return "Доступ запрещён.";
    case EROFS:
        return "Файловая система доступна только для чтения.";
    case EXDEV:
        return "Файл нельзя переместить на другой диск.";
    case ENAMETOOLONG:
        return "Слишком длинное имя файла.";
    case EINVAL:
        return "Недопустимое имя файла.";
    case EBUSY:
        return "Файл занят.";
    case ENOSPC:
        return "На диске нет места.";
    case EDQUOT:
        return "Превышена дисковая квота.";
    case ELOOP:
        return "В пути зацикленные символические ссылки.";
    case EMFILE:
    case ENFILE:
        return "Открыто слишком много файлов.";
    case EIO:
        return "Ошибка ввода-вывода.";
    case kNotRegularFile:
        return "Это не обычный файл (например, канал или устройство).";
    default:
        return "Системная ошибка " + std::to_string(errnum) + " (" + std::strerror(errnum) + ").";
    }
}

WritableScope::WritableScope(std::string path, std::int32_t attributes)
    : path_(std::move(path)), attributes_(attributes)
{
    SetFileAttributesA(path_, attributes_ & ~faReadOnly);
}

WritableScope::~WritableScope()
{
    if (!restored_)
        SetFileAttributesA(path_, attributes_);
}

int WritableScope::Restore()
{
    restored_ = true;
    errno = 0;
    if (SetFileAttributesA(path_, attributes_))
        return 0;
    return errno ? errno : EIO;
}

} // namespace Core::Platform
