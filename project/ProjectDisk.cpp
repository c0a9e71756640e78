// Project files on the disk: opening one, read no further than the size limit and only when it is a
// regular file, and saving one through a new file beside it that is flushed and renamed over it.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <string_view>

#include "project/ProjectFile.h"
#include "project/ProjectReading.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// Not an error of the system: the path names something other than a regular file.
constexpr int NotRegularFile = -1;
// Not an error of the system: the file's permissions allow no one to write it.
constexpr int ReadOnlyFile = -2;

}  // namespace

std::string FileErrorReason(int error)
{
    switch (error) {
    case NotRegularFile:
        return "это не обычный файл";
    case ReadOnlyFile:
        return "файл только для чтения";
    case ENOENT:
        return "нет такого файла или папки";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOSPC:
    case EDQUOT:
        return "на диске нет места";
    case EROFS:
        return "диск только для чтения";
    case EFBIG:
    case EOVERFLOW:
        return "файл слишком велик";
    case EISDIR:
        return "это папка";
    case ELOOP:
        return "символические ссылки замкнуты в круг";
    case ENOTDIR:
        return "часть пути не папка";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    case EIO:
        return "ошибка ввода-вывода";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case ENOMEM:
        return "не хватает памяти";
    case EBUSY:
    case ETXTBSY:
        return "файл занят";
    case EAGAIN:
        return "файл временно недоступен";
    case EINTR:
        return "прервано";
    case EXDEV:
        return "файл на другом диске";
    case ENXIO:
    case ENODEV:
        return "устройство недоступно";
    case ESTALE:
        return "файл на сетевом диске недоступен";
    case EINVAL:
        return "недопустимое имя или действие";
    default:
        return "непредвиденная ошибка системы (код " + std::to_string(error) + ")";
    }
}

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

// Whether the status is a regular file's; otherwise the reason: a folder, or something else (a pipe,
// a device, a socket), which a read could wait on for ever.
int RegularFile(const struct stat& status)
{
    if (S_ISREG(status.st_mode)) return 0;
    return S_ISDIR(status.st_mode) ? EISDIR : NotRegularFile;
}

// The bytes of the file, at most one beyond the limit (enough for ReadProject to refuse the size);
// an error number on failure. Only a regular file is read: the path is looked at first, and opened
// without waiting, so that a pipe put in its place meanwhile cannot block the open either.
int ReadAtMostLimit(const std::string& path, std::string& bytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return errno;
    if (const int problem = RegularFile(status)) return problem;
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0) return errno;
    if (const int problem = RegularFile(status)) return problem;
    char buffer[1 << 16];
    while (bytes.size() <= MaxProjectBytes) {
        const ssize_t count = ::read(file.fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return errno;
        if (count == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return 0;
}

// The new file's contents written whole and flushed to the disk; an error number on failure.
int WriteAndFlush(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return errno;
        done += static_cast<std::size_t>(count);
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The folder's entry of the renamed file flushed too, where the file system allows it.
void FlushFolder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const Descriptor directory{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (directory.fd >= 0) ::fsync(directory.fd);
}

// The file a save writes: `path` itself, or where the symbolic links it names lead (a link is kept
// and its target replaced, also where that target does not exist yet); an error number on failure.
int SaveTarget(const std::string& path, std::string& target)
{
    target = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return 0;
        if (links == 40) return ELOOP;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(target.c_str(), buffer, sizeof buffer);
        if (length < 0) return errno;
        if (length == 0) return EINVAL;
        if (length == static_cast<ssize_t>(sizeof buffer)) return ENAMETOOLONG;
        const std::string next(buffer, static_cast<std::size_t>(length));
        const std::size_t slash = target.rfind('/');
        target = next.front() == '/' || slash == std::string::npos ? next : target.substr(0, slash + 1) + next;
    }
}

// "цех.kestal.4711-3.tmp": the temporary file a save of "цех.kestal" makes, by process and count.
std::string TemporaryName(const std::string& target, pid_t process, unsigned count)
{
    return target + "." + std::to_string(process) + "-" + std::to_string(count) + ".tmp";
}

// The process that made a temporary file of `name`, the file name of a save's target, from an entry
// of its folder; 0 where the entry is no such file.
pid_t TemporaryOwner(std::string_view entry, std::string_view name)
{
    if (entry.size() <= name.size() + 1 || entry.substr(0, name.size()) != name || entry[name.size()] != '.') return 0;
    std::string_view rest = entry.substr(name.size() + 1);
    if (rest.size() < 4 || rest.substr(rest.size() - 4) != ".tmp") return 0;
    rest.remove_suffix(4);
    const std::size_t dash = rest.find('-');
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1))) return 0;
    const long long process = std::stoll(std::string(rest.substr(0, dash)));
    return process > 0 && process <= INT_MAX ? static_cast<pid_t>(process) : 0;
}

// Removes the temporary files earlier saves of `target` left behind when they were killed: those of
// processes that have ended, and this process's own.
void RemoveLeftTemporaries(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return;
    while (const dirent* entry = ::readdir(directory)) {
        const pid_t owner = TemporaryOwner(entry->d_name, name);
        if (owner == 0) continue;
        const bool ended = owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH;
        if (owner != ::getpid() && !ended) continue;  // a save of another running process
        struct stat status {};
        const std::string path = folder + "/" + entry->d_name;
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::unlink(path.c_str());
    }
    ::closedir(directory);
}

}  // namespace

SessionState OpenProjectFile(const std::string& path)
{
    std::string bytes;
    if (const int error = ReadAtMostLimit(path, bytes))
        throw KestalError(NotOpenedText(path, {"", "не удалось прочитать файл (" + FileErrorReason(error) + ")"}));
    return ReadProject(bytes, path);
}

void SaveProjectFile(const std::string& path, const std::string& bytes)
{
    const auto fail = [&](const char* step, int error) {
        throw KestalError("Файл «" + path + "» не сохранён: " + step + " (" + FileErrorReason(error) + ")");
    };
    std::string target;
    if (const int error = SaveTarget(path, target)) fail("не удалось найти файл ссылки", error);
    // What is there must be a regular file the user may write: a read-only file is not replaced.
    struct stat old {};
    const bool replaces = ::stat(target.c_str(), &old) == 0;
    if (replaces) {
        if (const int problem = RegularFile(old)) fail("не удалось заменить файл", problem);
        if ((old.st_mode & 0222) == 0) fail("не удалось заменить файл", ReadOnlyFile);
        if (::access(target.c_str(), W_OK) != 0) fail("не удалось заменить файл", errno);
    }
    RemoveLeftTemporaries(target);
    // A name of its own beside the target: one taken meanwhile is passed over.
    static std::atomic<unsigned> saves{0};
    std::string temporary;
    int fd;
    do {
        temporary = TemporaryName(target, ::getpid(), saves++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EEXIST);
    if (fd < 0) fail("не удалось создать файл", errno);
    // The new file keeps the permissions of the file it replaces.
    if (replaces) ::fchmod(fd, old.st_mode & 07777);
    int error = WriteAndFlush(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail("не удалось записать данные", error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        fail("не удалось заменить файл", error);
    }
    FlushFolder(target);
}

}  // namespace kestal
