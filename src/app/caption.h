#pragma once
// The main window's caption and the name of a new picture.

#include <ctime>
#include <string>

namespace tenmark {

struct CaptionFacts {
  const char* version;       // UTF-8
  std::string documentName;  // UTF-8
  bool modified = false;
  double zoomFactor = 1.0;
  int penSize = 1;
  int eraserSize = 8;
};

// "version - name[ *]  [倍率:100%  ペン:1  消しゴム:8]" in UTF-8.
std::string captionText(const CaptionFacts& facts);

// The local date and time as YYYYMMDD_hhmmss (the year unpadded).
std::string timestampName(const std::tm& local);

}  // namespace tenmark
