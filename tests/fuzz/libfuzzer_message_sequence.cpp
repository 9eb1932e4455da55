// libFuzzer entry: the input bytes are the steps of message sequences over the program.
#include <cstdio>
#include <cstdlib>

#include "message_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tv::fuzz::ByteSource bytes(data, size);
  const tv::fuzz::RunReport report = tv::fuzz::RunMessageSequences(bytes);
  if (!report.failures.empty()) {
    std::fprintf(stderr, "%s\n", report.failures.front().c_str());
    std::abort();
  }
  return 0;
}
