// Arbitrary bytes as a configuration file: every lookup and the full settings read must stay
// within the text, and whatever is read must be within the accepted ranges and write back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/config_file.h"
#include "settings/settings_file.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool inRange(std::int32_t value, std::int32_t min, std::int32_t max) {
  return value >= min && value <= max;
}

void checkRanges(const tenmark::Settings& s) {
  check(inRange(s.n_canvas_x, 0, 6000) && inRange(s.n_canvas_y, 0, 6000));
  check(inRange(s.n_back_color, 0, 0xFFFFFF) && inRange(s.n_pen_color, 0, 0xFFFFFF));
  check(inRange(s.n_clnt_color, 0, 0xFFFFFF) && inRange(s.n_alpha, 0, 255));
  check(inRange(s.n_pen_size, 1, 30) && inRange(s.n_erase_size, 1, 30));
  check(inRange(s.n_xpos, -1000, 9999) && inRange(s.n_ypos, -1000, 9999));
  check(s.n_xsize == 0 || inRange(s.n_xsize, 1, 9999));
  check(s.n_ysize == 0 || inRange(s.n_ysize, 1, 9999));
  check(inRange(s.n_PenHardness, 0, 10));
  for (std::int32_t flag : {s.n_save_img, s.n_save_type, s.n_set_alpha, s.b_ClientDef,
                            s.b_Maximized, s.b_PenPressure, s.b_ShowMenu, s.b_IgnoreTabXY})
    check(inRange(flag, 0, 1));
  const auto size = tenmark::canvasSizeOrDefault(s, 1080);
  check(size.width >= 1 && size.height >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tenmark::ConfigFile file;
  file.LoadText(bytes);
  check(file.text().find('\0') == std::string::npos);

  // Keys taken from the input itself reach every lookup path, block form included.
  const std::string_view key = bytes.substr(0, bytes.size() % 16);
  std::string text;
  std::int32_t number = 0;
  std::uint32_t code = 0;
  file.GetString(key, text);
  file.GetString(key, text, tenmark::ConfigFile::Form::Block);
  file.GetInt(key, number, -5, 5);
  check(inRange(number, -5, 5));
  file.GetUInt(key, code, 0xFFFFFFFFu);

  tenmark::Settings settings = tenmark::defaultSettings(1080, "C:\\");
  tenmark::readSettings(file, settings);
  checkRanges(settings);

  // A file this program writes reads back as exactly the values written, unless the save
  // folder itself holds an "=" that makes it look like a key.
  tenmark::ConfigFile writer;
  tenmark::writeSettings(settings, writer);
  tenmark::ConfigFile reader;
  reader.LoadText(writer.text());
  tenmark::Settings back = tenmark::defaultSettings(1080, "C:\\");
  tenmark::readSettings(reader, back);
  if (settings.saveFolder.find('=') == std::string::npos) check(back == settings);
  return 0;
}
