#include "records/AtomicFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace gasmixer {

namespace {

std::string Failure(const std::string& step)
{
    return step + ": " + std::strerror(errno);
}

// The temporary file; removed unless the rename took it over.
class TempFile {
public:
    explicit TempFile(const std::string& folder)
    {
        path_ = (folder.empty() ? std::string(".") : folder) + "/.gasmixer-save-XXXXXX";
        std::vector<char> name(path_.begin(), path_.end());
        name.push_back('\0');
        fd_ = ::mkstemp(name.data());
        created_ = fd_ >= 0;
        if (created_) path_.assign(name.data());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile()
    {
        Close();
        if (created_ && !committed_) ::unlink(path_.c_str());
    }

    bool Opened() const { return created_; }
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    bool Close()
    {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }
    void Committed() { committed_ = true; }

private:
    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    bool committed_ = false;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

WriteOutcome WriteFileAtomically(const std::string& path, const ContentProducer& produce)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    TempFile temp(folder);
    if (!temp.Opened()) return {false, Failure("Cannot create a file in " + folder)};
    // A replaced file keeps its permissions; mkstemp's own are owner-only.
    struct stat target {};
    ::fchmod(temp.Fd(), ::stat(path.c_str(), &target) == 0 ? (target.st_mode & 07777) : 0644);

    constexpr std::size_t BufferSize = 1 << 16;
    std::string buffer;
    buffer.reserve(BufferSize);
    std::string error;
    const auto flush = [&] {
        if (error.empty() && !WriteAll(temp.Fd(), buffer)) error = Failure("Write");
        buffer.clear();
    };
    produce([&](std::string_view bytes) {
        if (!error.empty()) return;
        if (buffer.size() + bytes.size() > BufferSize) flush();
        if (bytes.size() >= BufferSize) {
            if (!WriteAll(temp.Fd(), bytes)) error = Failure("Write");
        } else {
            buffer.append(bytes);
        }
    });
    flush();
    if (!error.empty()) return {false, error};
    if (::fsync(temp.Fd()) != 0) return {false, Failure("Flush")};
    if (!temp.Close()) return {false, Failure("Close")};
    if (::rename(temp.Path().c_str(), path.c_str()) != 0) return {false, Failure("Rename")};
    temp.Committed();

    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {true, {}};
}

}  // namespace gasmixer
