#include "imagefile/png_errors.h"

namespace tenmark {

void pngFailQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void pngIgnoreWarning(png_structp, png_const_charp) {}

}  // namespace tenmark
