#include "FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// The last component of a path ("a" for "/x/a" and "/x/a/").
std::string BaseName(const std::string& path)
{
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return std::string();
    const std::size_t slash = path.rfind('/', end);
    const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(begin, end + 1 - begin);
}

bool Hidden(const std::string& name)
{
    return !name.empty() && name[0] == '.';
}

bool EndsWithMp3(const char* name, std::size_t len)
{
    return len >= 4 && name[len - 4] == '.' && (name[len - 3] | 0x20) == 'm' && (name[len - 2] | 0x20) == 'p'
        && name[len - 1] == '3';
}

} // namespace

std::int32_t GetFileAttributesA(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return faInvalid;
    std::int32_t a = 0;
    if (!(st.st_mode & S_IWUSR))
        a |= faReadOnly;
    if (Hidden(BaseName(path)))
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
    return !Hidden(BaseName(path)) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> ListMp3Files(const std::string& folder, int* error, Links links)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (error)
        *error = dir ? 0 : errno;
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::size_t len = std::strlen(e->d_name);
        if (e->d_name[0] == '.' || !EndsWithMp3(e->d_name, len))
            continue;
        // The directory entry usually knows the type; ask only when it does not
        // (or for a link that counts when it leads to an ordinary file).
        bool regular = e->d_type == DT_REG;
        const bool follow = links == Links::Followed;
        if (e->d_type == DT_UNKNOWN || (e->d_type == DT_LNK && follow)) {
            struct stat st;
            regular = ::fstatat(::dirfd(dir), e->d_name, &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0
                && S_ISREG(st.st_mode);
        }
        if (regular)
            names.emplace_back(e->d_name, len);
    }
    ::closedir(dir);
    return names;
}

std::vector<std::string> ListFolders(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            isFolder = ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder)
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    return names;
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

} // namespace Platform
