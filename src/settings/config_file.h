#pragma once
// The key=value text in which the settings persist. A reader holds the whole file and answers
// lookups by plain substring search; a writer appends entries and writes the text out whole.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tenmark {

class ConfigFile {
 public:
  // Files beyond this are read only up to it; no settings file comes near.
  static constexpr std::size_t kMaxFileBytes = 1 << 20;

  enum class Form { Line, Block };

  ConfigFile() = default;
  virtual ~ConfigFile() = default;

  // False when the file cannot be opened; the text then stays empty.
  bool Load(const std::string& path);
  // The bytes of a file as Load keeps them: everything up to the first NUL.
  void LoadText(std::string_view bytes);
  // Writes the text through a temporary file, so a failed write leaves the old file intact.
  bool Save(const std::string& path) const;

  // An empty or missing value leaves the variable unchanged.
  void GetString(std::string_view key, std::string& variable, Form form = Form::Line) const;
  // Out-of-range values leave the variable unchanged; they are never clamped.
  void GetInt(std::string_view key, std::int32_t& variable, std::int32_t min,
              std::int32_t max) const;
  void GetUInt(std::string_view key, std::uint32_t& variable, std::uint32_t max) const;

  void AppendLine(std::string_view line);
  void PutString(std::string_view key, std::string_view value, Form form = Form::Line);
  void PutInt(std::string_view key, std::int32_t value);

  const std::string& text() const { return text_; }

 private:
  std::string_view lookup(std::string_view key, Form form) const;

  std::string text_;
};

// Optional sign, then digits up to the first non-digit, accumulated modulo 2^32; a value
// without leading digits is 0.
std::uint32_t parseConfigInteger(std::string_view value);

}  // namespace tenmark
