// The heap of the four playback blocks during a fuzz run: it knows which blocks the
// program holds, so a leak or a release of a block it does not hold is seen, and it can
// be told to fail one allocation of the next opening.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace tv::fuzz {

class FuzzHeap {
 public:
  // Puts this heap in place of malloc and free for the playback blocks; Uninstall puts
  // them back. One heap is installed at a time.
  void Install();
  void Uninstall();

  // The `nth` allocation from now (1 = the next) returns null.
  void FailAllocation(int nth) { countdown_ = nth; }
  // How many armed failures have happened since the last call.
  int TakeFailuresHappened();

  const std::set<void*>& Held() const { return held_; }
  // Releases whatever is still held; for cleaning up after a failed run.
  void ReleaseAll();
  // Faults seen by free (a block released twice or never obtained), since the last call.
  std::vector<std::string> TakeFaults();

 private:
  static void* Allocate(std::size_t size);
  static void Release(void* block);

  std::set<void*> held_;
  std::vector<std::string> faults_;
  int countdown_ = 0;
  int failuresHappened_ = 0;
};

}  // namespace tv::fuzz
