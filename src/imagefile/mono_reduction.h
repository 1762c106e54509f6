#pragma once
// Reduction of a colour to the nearer of white (index 0) and black (index 1).

namespace tenmark {

// Squared RGB distance: r² + g² + b² to black against (255−r)² + (255−g)² + (255−b)² to white.
// Their difference is 3·255² − 510·(r + g + b), so black is nearer exactly when
// r + g + b < 382.5; the sum is an integer, so a tie cannot occur (it would go to white).
constexpr int nearerMonoIndex(unsigned red, unsigned green, unsigned blue) {
  return red + green + blue <= 382u ? 1 : 0;
}

}  // namespace tenmark
