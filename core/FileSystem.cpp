#include "FileSystem.h"

#include "Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Core::Platform {

namespace {

// The non-hidden entries of folder of the given kind (S_IFREG or S_IFDIR)
// whose names pass wanted, in the order the directory gives them; when
// folders is given, the non-hidden folders of the same reading go there. A
// link counts by what it leads to when followed, never otherwise. A folder
// that cannot be read gives nothing and, when error is given, its errno there
// (0 on success).
template <class Wanted>
std::vector<std::string> ListVisible(const std::string& folder, int* error, mode_t kind, bool followLinks,
                                     Wanted wanted, std::vector<std::string>* folders = nullptr)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (error)
        *error = dir ? 0 : errno;
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::size_t len = std::strlen(e->d_name);
        const std::string_view name(e->d_name, len);
        if (IsHiddenName(name))
            continue;
        const bool named = wanted(name);
        if (!named && !folders)
            continue;
        // The directory entry usually knows the type; ask only when it does
        // not, or for a link that counts by what it leads to.
        mode_t type = DTTOIF(e->d_type);
        if (e->d_type == DT_UNKNOWN || (e->d_type == DT_LNK && followLinks)) {
            struct stat st;
            const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
            type = ::fstatat(::dirfd(dir), e->d_name, &st, flags) == 0 ? st.st_mode & S_IFMT : 0;
        }
        if (named && type == kind)
            names.emplace_back(name);
        else if (folders && type == S_IFDIR)
            folders->emplace_back(name);
    }
    ::closedir(dir);
    return names;
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
    return ListVisible(folder, error, S_IFREG, links == Links::Followed, HasMp3Extension, folders);
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

} // namespace Core::Platform
