#include "tools/script/output_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tv::script {
namespace {

namespace fs = std::filesystem;

// The staged names, where a signal handler can reach them: plain C strings in a fixed
// table, since a handler may neither allocate nor take a lock.
constexpr std::size_t kMaxStaged = 1024;
std::array<std::atomic<char*>, kMaxStaged> g_stagedNames{};

bool Remember(char* name) {
  for (auto& slot : g_stagedNames) {
    char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, name)) return true;
  }
  return false;
}

void Unremember(const std::string& name) {
  for (auto& slot : g_stagedNames) {
    char* held = slot.load();
    if (held != nullptr && name == held) {
      slot.store(nullptr);
      std::free(held);
      return;
    }
  }
}

void RemoveStagedAndDie(int signal) {
  for (auto& slot : g_stagedNames) {
    if (const char* name = slot.load()) ::unlink(name);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Throw(int line, const std::string& path, int error) {
  throw OutputError(line, "cannot write " + path + ": " + Reason(error));
}

// Follows symbolic links from `path` to the name that holds the content in the end,
// which need not exist yet.
std::string FollowLinks(std::string path, int line, const std::string& asWritten) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length < 0) Throw(line, asWritten, errno);
    link.resize(static_cast<std::size_t>(length));
    const fs::path target(link);
    path = target.is_absolute() ? link : (fs::path(path).parent_path() / target).string();
  }
  Throw(line, asWritten, ELOOP);
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Creates an empty file of a name nobody uses yet, from a pattern ending in XXXXXX. The
// name is known to the signal handler before the file exists.
std::string CreateUnique(const std::string& pattern, mode_t mode, int line, const std::string& asWritten) {
  char* name = ::strdup(pattern.c_str());
  if (name == nullptr) Throw(line, asWritten, ENOMEM);
  if (!Remember(name)) {
    std::free(name);
    throw OutputError(line, "cannot write " + asWritten + ": a script may write at most " +
                                std::to_string(kMaxStaged) + " files");
  }
  const int descriptor = ::mkstemp(name);
  if (descriptor < 0) {
    const int error = errno;
    Unremember(name);
    Throw(line, asWritten, error);
  }
  ::fchmod(descriptor, mode);
  ::close(descriptor);
  return name;
}

bool WriteAll(int descriptor, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(descriptor, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Copies the staged content into a target that is kept (a device or a FIFO).
void WriteInto(const std::string& staged, const std::string& target, int line,
               const std::string& asWritten) {
  const int from = ::open(staged.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) Throw(line, asWritten, errno);
  const int to = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (to < 0) {
    const int error = errno;
    ::close(from);
    Throw(line, asWritten, error);
  }
  char buffer[65536];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    if (!WriteAll(to, buffer, static_cast<std::size_t>(n))) {
      error = errno;
      break;
    }
  }
  if (::close(to) != 0 && error == 0) error = errno;
  ::close(from);
  if (error != 0) Throw(line, asWritten, error);
}

}  // namespace

OutputFiles::OutputFiles() = default;

OutputFiles::~OutputFiles() { DiscardAll(); }

std::string OutputFiles::Stage(const std::string& path, int line) {
  if (path.empty()) Throw(line, path, ENOENT);
  File file{path, {}, {}, true, line};
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) Throw(line, path, EISDIR);
    file.target = path;
    file.replace = false;
    file.staged = CreateUnique((fs::temp_directory_path() / "tonvela-script-XXXXXX").string(),
                               0600, line, path);
  } else {
    file.target = FollowLinks(path, line, path);
    const fs::path target(file.target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat existing {};
    const mode_t mode = ::stat(file.target.c_str(), &existing) == 0 ? existing.st_mode & 07777
                                                                     : NewFileMode();
    file.staged = CreateUnique((folder / ("." + target.filename().string() + ".tonvela-XXXXXX")).string(),
                               mode, line, path);
  }
  // The same target written again: only the last content counts.
  const auto sameTarget = [&file](const File& other) {
    if (file.replace != other.replace) return false;
    if (file.replace) {
      return fs::absolute(other.target).lexically_normal() == fs::absolute(file.target).lexically_normal();
    }
    struct stat a {}, b {};
    return ::stat(other.target.c_str(), &a) == 0 && ::stat(file.target.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  };
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (sameTarget(files_[i])) {
      Forget(i);
      break;
    }
  }
  files_.push_back(file);
  return file.staged;
}

std::string OutputFiles::Explain(const std::string& staged, const std::string& message) const {
  for (const File& file : files_) {
    if (file.staged != staged) continue;
    std::string told = message;
    for (std::size_t at = told.find(staged); at != std::string::npos; at = told.find(staged, at)) {
      told.replace(at, staged.size(), file.path);
      at += file.path.size();
    }
    return told;
  }
  return message;
}

void OutputFiles::CommitAll() {
  while (!files_.empty()) {
    const File file = files_.front();
    try {
      if (file.replace) {
        if (std::rename(file.staged.c_str(), file.target.c_str()) != 0) Throw(file.line, file.path, errno);
      } else {
        WriteInto(file.staged, file.target, file.line, file.path);
        ::unlink(file.staged.c_str());
      }
    } catch (const OutputError&) {
      DiscardAll();
      throw;
    }
    Unremember(file.staged);
    files_.erase(files_.begin());
  }
}

void OutputFiles::DiscardAll() {
  while (!files_.empty()) Forget(files_.size() - 1);
}

void OutputFiles::Forget(std::size_t index) {
  ::unlink(files_[index].staged.c_str());
  Unremember(files_[index].staged);
  files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RemoveStagedFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveStagedAndDie;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::sigaction(signal, &action, nullptr);
}

}  // namespace tv::script
