#pragma once
// Window geometry in the original's unit: 1 twip = 1/1440 inch, 15 twips a
// pixel at the usual 96 dots per inch.

namespace kpr5 {
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
} // namespace kpr5
