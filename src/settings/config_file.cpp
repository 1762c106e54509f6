#include "settings/config_file.h"

#include <cstdio>
#include <memory>

#include "platform/atomic_write.h"
#include "platform/file_open.h"

namespace tenmark {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view trim(std::string_view value) {
  const auto first = value.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  const auto last = value.find_last_not_of(kWhiteSpace);
  return value.substr(first, last - first + 1);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::uint32_t parseConfigInteger(std::string_view value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::uint32_t number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    number = number * 10u + static_cast<std::uint32_t>(value[i] - '0');
  return negative ? 0u - number : number;
}

bool ConfigFile::Load(const std::string& path) {
  text_.clear();
  FilePtr file(openFile(path, "rb"));
  if (!file) return false;
  // A read error part-way keeps what was read: the lookups work on whatever arrived.
  std::string bytes(kMaxFileBytes, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  LoadText(bytes);
  return true;
}

void ConfigFile::LoadText(std::string_view bytes) {
  text_.assign(bytes.substr(0, bytes.find('\0')));
}

bool ConfigFile::Save(const std::string& path) const {
  return writeFileAtomically(path,
                             {reinterpret_cast<const std::uint8_t*>(text_.data()), text_.size()});
}

std::string_view ConfigFile::lookup(std::string_view key, Form form) const {
  const std::string_view text = text_;
  const std::string_view opener = form == Form::Line ? "=" : "{";
  const std::string_view closer = form == Form::Line ? kCrLf : "}";
  const auto found = text.find(std::string(key) + std::string(opener));
  if (found == std::string_view::npos) return {};
  const auto start = found + key.size() + opener.size();
  const auto end = text.find(closer, start);
  if (end == std::string_view::npos) return {};
  return trim(text.substr(start, end - start));
}

void ConfigFile::GetString(std::string_view key, std::string& variable, Form form) const {
  const auto value = lookup(key, form);
  if (!value.empty()) variable.assign(value);
}

void ConfigFile::GetInt(std::string_view key, std::int32_t& variable, std::int32_t min,
                        std::int32_t max) const {
  const auto value = lookup(key, Form::Line);
  if (value.empty()) return;
  const auto number = static_cast<std::int32_t>(parseConfigInteger(value));
  if (number >= min && number <= max) variable = number;
}

void ConfigFile::GetUInt(std::string_view key, std::uint32_t& variable, std::uint32_t max) const {
  const auto value = lookup(key, Form::Line);
  if (value.empty()) return;
  const auto number = parseConfigInteger(value);
  if (number <= max) variable = number;
}

void ConfigFile::AppendLine(std::string_view line) {
  text_.append(line);
  text_.append(kCrLf);
}

void ConfigFile::PutString(std::string_view key, std::string_view value, Form form) {
  std::string entry(key);
  if (form == Form::Line) {
    entry.append("=").append(value);
  } else {
    entry.append("{").append(kCrLf).append(value).append(kCrLf).append("}");
  }
  AppendLine(entry);
}

void ConfigFile::PutInt(std::string_view key, std::int32_t value) {
  PutString(key, std::to_string(value));
}

}  // namespace tenmark
