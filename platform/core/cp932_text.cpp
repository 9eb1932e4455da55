#include "platform/core/cp932_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace tv {
namespace {

// One iconv descriptor per direction and thread; conversion state is reset per call.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Convert(std::string_view input, std::string_view replacement,
                      std::size_t invalidStep) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string output;
    char buffer[256];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
        // EILSEQ or EINVAL (cut short): replace the offending bytes and go on.
        output.append(replacement);
        const std::size_t skip = inLeft < invalidStep ? inLeft : invalidStep;
        in += skip;
        inLeft -= skip;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return output;
  }

 private:
  iconv_t handle_;
};

// Length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  thread_local Converter converter("UTF-8", "CP932");
  return converter.Convert(cp932, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToCp932(std::string_view utf8) {
  thread_local Converter converter("CP932", "UTF-8");
  std::string output;
  // Convert character by character so that one unmappable character costs only itself.
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i + length > utf8.size()) length = utf8.size() - i;
    output += converter.Convert(utf8.substr(i, length), "?", length);
    i += length;
  }
  return output;
}

}  // namespace tv
