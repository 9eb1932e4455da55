#include "fuzz_heap.h"

#include <cstdlib>
#include <utility>

#include "sound/wave_stream.h"

namespace tv::fuzz {
namespace {

// The function-pointer seam takes no context, so the installed heap is found here.
FuzzHeap* s_installed = nullptr;

}  // namespace

void FuzzHeap::Install() {
  s_installed = this;
  g_waveMalloc = &FuzzHeap::Allocate;
  g_waveFree = &FuzzHeap::Release;
}

void FuzzHeap::Uninstall() {
  g_waveMalloc = std::malloc;
  g_waveFree = std::free;
  s_installed = nullptr;
}

int FuzzHeap::TakeFailuresHappened() { return std::exchange(failuresHappened_, 0); }

std::vector<std::string> FuzzHeap::TakeFaults() { return std::exchange(faults_, {}); }

void FuzzHeap::ReleaseAll() {
  for (void* block : held_) std::free(block);
  held_.clear();
}

void* FuzzHeap::Allocate(std::size_t size) {
  FuzzHeap& heap = *s_installed;
  if (heap.countdown_ > 0 && --heap.countdown_ == 0) {
    ++heap.failuresHappened_;
    return nullptr;
  }
  void* block = std::malloc(size);
  if (block != nullptr) heap.held_.insert(block);
  return block;
}

void FuzzHeap::Release(void* block) {
  if (block == nullptr) return;
  FuzzHeap& heap = *s_installed;
  if (heap.held_.erase(block) != 1) {
    heap.faults_.push_back("a playback block was released that is not held (twice, or never obtained)");
    return;  // leave it to AddressSanitizer rather than freeing it again
  }
  std::free(block);
}

}  // namespace tv::fuzz
