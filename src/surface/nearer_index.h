#pragma once
// Reduction of a colour to the nearer of two palette colours, by squared RGB distance.

#include <cstdint>

namespace tenmark {

// |p - ink|² < |p - paper|² is 2·p·(ink - paper) > |ink|² - |paper|²: one dot product and one
// comparison per colour. A colour exactly between the two, and every colour when both are equal,
// takes index 0 (paper).
class NearerIndex {
 public:
  // Colours as 0x00BBGGRR.
  constexpr NearerIndex(std::uint32_t paper, std::uint32_t ink)
      : red_(channel(ink, 0) - channel(paper, 0)),
        green_(channel(ink, 8) - channel(paper, 8)),
        blue_(channel(ink, 16) - channel(paper, 16)),
        threshold_(square(ink) - square(paper)) {}

  constexpr int operator()(int red, int green, int blue) const {
    return 2 * (red * red_ + green * green_ + blue * blue_) > threshold_ ? 1 : 0;
  }

  // What the test weighs: the channels' weights and the threshold that twice the weighted sum
  // must pass.
  struct Weights {
    int red, green, blue, threshold;
  };
  constexpr Weights weights() const { return {red_, green_, blue_, threshold_}; }

  // The same test for a whole 0x00RRGGBB screen pixel, in single precision so that it runs in
  // vector registers: every product and sum stays below 2^24, so the result is exact.
  bool inkFor(std::uint32_t pixel) const {
    const float sum = float(int((pixel >> 16) & 0xFFu)) * float(red_) +
                      float(int((pixel >> 8) & 0xFFu)) * float(green_) +
                      float(int(pixel & 0xFFu)) * float(blue_);
    return 2.0f * sum > float(threshold_);
  }

 private:
  static constexpr int channel(std::uint32_t color, int shift) {
    return int((color >> shift) & 0xFFu);
  }
  static constexpr int square(std::uint32_t c) {
    return channel(c, 0) * channel(c, 0) + channel(c, 8) * channel(c, 8) +
           channel(c, 16) * channel(c, 16);
  }

  int red_;
  int green_;
  int blue_;
  int threshold_;
};

// White paper, black ink: the reduction of colour picture files.
inline constexpr NearerIndex kWhiteBlack{0xFFFFFFu, 0x000000u};

}  // namespace tenmark
