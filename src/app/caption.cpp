#include "app/caption.h"

#include <cstdio>

#include "tenmark/texts.h"

namespace tenmark {

std::string captionText(const CaptionFacts& facts) {
  std::string name = facts.documentName;
  if (facts.modified) name += " *";
  const int length = std::snprintf(nullptr, 0, text::CaptionFormat, facts.version, name.c_str(),
                                   facts.zoomFactor * 100.0, facts.penSize, facts.eraserSize);
  std::string caption(std::size_t(length) + 1, '\0');
  std::snprintf(caption.data(), caption.size(), text::CaptionFormat, facts.version, name.c_str(),
                facts.zoomFactor * 100.0, facts.penSize, facts.eraserSize);
  caption.resize(std::size_t(length));
  return caption;
}

std::string timestampName(const std::tm& local) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d%02d%02d_%02d%02d%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

}  // namespace tenmark
