// The GUI thread's message queue. Posted messages may come from any thread; input only
// from the GUI thread. Retrieval order: posted messages, then input, then (decided by
// GetMessageA) paints.
#pragma once

#include <deque>
#include <mutex>
#include <optional>

#include "platform/win32_api.h"

namespace tv {

class MessageQueue {
 public:
  void Post(const MSG& message);
  void PostQuit(int exitCode);
  void PushInput(const MSG& input);

  // The next posted message, else the quit request, else the next input.
  std::optional<MSG> Take();
  bool Empty() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::deque<MSG> posted_;
  std::deque<MSG> input_;
  bool quitRequested_ = false;
  int quitCode_ = 0;
};

MessageQueue& GuiQueue();

}  // namespace tv
