// Shift-JIS through iconv's code page 932, the same table Windows uses.
#include <iconv.h>

#include <cerrno>

#include "platform/unicode.h"

namespace tenmark {

namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view text) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* outAt = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = iconv(cd, &in, &inLeft, &outAt, &outLeft);
  iconv_close(cd);
  // iconv counts characters it could only approximate; they are refused like missing ones.
  if (done != 0 || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> shiftJisToUtf8(std::string_view text) {
  return convert("UTF-8", "CP932", text);
}

std::optional<std::string> utf8ToShiftJis(std::string_view text) {
  std::optional<std::string> sjis = convert("CP932", "UTF-8", text);
  // Only a conversion that comes back the same is exact.
  if (!sjis || shiftJisToUtf8(*sjis) != std::string(text)) return std::nullopt;
  return sjis;
}

}  // namespace tenmark
