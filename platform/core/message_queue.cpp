#include "platform/core/message_queue.h"

namespace tv {

void MessageQueue::Post(const MSG& message) {
  std::lock_guard lock(mutex_);
  posted_.push_back(message);
}

void MessageQueue::PostQuit(int exitCode) {
  std::lock_guard lock(mutex_);
  quitRequested_ = true;
  quitCode_ = exitCode;
}

void MessageQueue::PushInput(const MSG& input) {
  std::lock_guard lock(mutex_);
  input_.push_back(input);
}

std::optional<MSG> MessageQueue::Take() {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) {
    MSG message = posted_.front();
    posted_.pop_front();
    return message;
  }
  if (quitRequested_) {
    quitRequested_ = false;
    return MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, 0, {0, 0}};
  }
  if (!input_.empty()) {
    MSG message = input_.front();
    input_.pop_front();
    return message;
  }
  return std::nullopt;
}

bool MessageQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return posted_.empty() && input_.empty() && !quitRequested_;
}

void MessageQueue::Clear() {
  std::lock_guard lock(mutex_);
  posted_.clear();
  input_.clear();
  quitRequested_ = false;
  quitCode_ = 0;
}

MessageQueue& GuiQueue() {
  static MessageQueue queue;
  return queue;
}

}  // namespace tv
