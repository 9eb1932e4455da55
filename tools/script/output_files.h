// The files a script writes. Each is staged under a temporary name while the script
// runs and put in place only when the whole run has succeeded, so a failed or
// interrupted run changes none of the user's files.
//
// Where a file goes:
// - a regular file, or a name that does not exist yet: the staged file lies in the same
//   folder under a unique name and is renamed over the target, atomically;
// - a symbolic link is followed: the file it points to gets the new content and the
//   link stays;
// - anything else (a device such as /dev/stdout, a FIFO): the content is written into
//   it when the run has succeeded; it is never replaced.
// Writing the same target twice in one run keeps the last content.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tv::script {

// A file that could not be staged or put in place: the script line and a message that
// names the path as the user wrote it.
struct OutputError : std::runtime_error {
  OutputError(int line, const std::string& message) : std::runtime_error(message), line(line) {}
  int line;
};

class OutputFiles {
 public:
  OutputFiles();
  ~OutputFiles();  // discards what was not committed
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;

  // Stages a new file for `path`, as the user wrote it on script line `line`, and
  // returns the name to write its content to. An earlier staged file for the same
  // target is discarded. Throws OutputError when the target cannot be written.
  std::string Stage(const std::string& path, int line);

  // A writer's message about the staged name `staged`, told in the user's words.
  std::string Explain(const std::string& staged, const std::string& message) const;

  // Puts every staged file in place. Throws OutputError for the first that fails; the
  // others are then discarded.
  void CommitAll();

  // Removes every staged file.
  void DiscardAll();

 private:
  struct File {
    std::string path;     // as the user wrote it
    std::string target;   // where the content goes (links followed)
    std::string staged;   // where the content is written until the commit
    bool replace;         // rename over the target, or write into it
    int line;
  };
  void Forget(std::size_t index);

  std::vector<File> files_;
};

// Makes SIGINT, SIGTERM, SIGHUP and SIGPIPE remove every staged file before the process
// ends by that signal as it would have anyway.
void RemoveStagedFilesOnSignals();

}  // namespace tv::script
