#pragma once
// libpng error and warning handlers: errors return to the caller's setjmp without printing,
// warnings are dropped. The program has no console, and a refused file is only a false result.

#include <png.h>

namespace tenmark {

[[noreturn]] void pngFailQuietly(png_structp png, png_const_charp message);
void pngIgnoreWarning(png_structp png, png_const_charp message);

}  // namespace tenmark
