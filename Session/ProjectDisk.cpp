// Project files on the disk: opening one, read no further than the size limit, and saving one
// through a new file beside it that is flushed and renamed over it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "Session/ProjectFile.h"
#include "Session/ProjectReading.h"
#include "common/KestalError.h"

namespace {

std::string Reason(int error)
{
    switch (error) {
    case ENOENT: return "нет такого файла или папки";
    case EACCES:
    case EPERM: return "нет доступа";
    case ENOSPC:
    case EDQUOT: return "на диске нет места";
    case EROFS: return "диск только для чтения";
    case EFBIG: return "файл слишком велик";
    case EISDIR: return "это папка";
    default: return "ошибка системы " + std::to_string(error);
    }
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

// The bytes of the file, at most one beyond the limit (enough for ReadProject to refuse the size);
// an error number on failure.
int ReadAtMostLimit(const std::string& path, std::string& bytes)
{
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status{};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0) return errno;
    if (S_ISDIR(status.st_mode)) return EISDIR;
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

}  // namespace

SessionState OpenProjectFile(const std::string& path)
{
    std::string bytes;
    if (const int error = ReadAtMostLimit(path, bytes))
        throw KestalError(NotOpenedText(path, {"", "не удалось прочитать файл (" + Reason(error) + ")"}));
    return ReadProject(bytes, path);
}

void SaveProjectFile(const std::string& path, const std::string& bytes)
{
    const auto fail = [&](const char* step, int error) {
        throw KestalError("Файл «" + path + "» не сохранён: " + step + " (" + Reason(error) + ")");
    };
    // A name of its own beside the target: one left by an interrupted save is passed over.
    static std::atomic<unsigned> saves{0};
    std::string temporary;
    int fd;
    do {
        temporary = path + "." + std::to_string(::getpid()) + "-" + std::to_string(saves++) + ".tmp";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EEXIST);
    if (fd < 0) fail("не удалось создать файл", errno);
    // The new file keeps the permissions of the file it replaces.
    struct stat old{};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    int error = WriteAndFlush(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail("не удалось записать данные", error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        fail("не удалось заменить файл", error);
    }
    FlushFolder(path);
}
