#include "core/font/FontImage.h"

#include <algorithm>

namespace kpr5 {

FontImage::FontImage(QObject *parent) : QObject(parent) {}

int FontImage::pixel(int k, int row, int col) const {
    if (!validGlyph(k) || !validCell(row, col)) return 0;
    return m_glyphs[k][row * kSize + col];
}

void FontImage::setPixel(int k, int row, int col, int value) {
    if (!validGlyph(k) || !validCell(row, col)) return;
    const quint8 v = value ? 1 : 0;
    quint8 &p = m_glyphs[k][row * kSize + col];
    if (p == v) return;
    p = v;
    m_known = true;
    Q_EMIT glyphChanged(k);
}

void FontImage::togglePixel(int k, int row, int col) {
    if (!validGlyph(k) || !validCell(row, col)) return;
    setPixel(k, row, col, pixel(k, row, col) ? 0 : 1);
}

void FontImage::fillRect(int k, int row1, int col1, int row2, int col2, int value) {
    if (!validGlyph(k)) return;
    const int top = std::max(0, std::min(row1, row2));
    const int bottom = std::min(kSize - 1, std::max(row1, row2));
    const int left = std::max(0, std::min(col1, col2));
    const int right = std::min(kSize - 1, std::max(col1, col2));
    const quint8 v = value ? 1 : 0;
    bool changed = false;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            quint8 &p = m_glyphs[k][r * kSize + c];
            changed = changed || p != v;
            p = v;
        }
    if (!changed) return;
    m_known = true;
    Q_EMIT glyphChanged(k);
}

void FontImage::clearGlyph(int k) {
    if (!validGlyph(k)) return;
    setGlyph(k, Glyph{});
}

void FontImage::clearAll() {
    for (int k = 0; k < kGlyphCount; ++k)
        clearGlyph(k);
}

FontImage::Glyph FontImage::glyph(int k) const {
    return validGlyph(k) ? m_glyphs[k] : Glyph{};
}

void FontImage::setGlyph(int k, const Glyph &glyph) {
    if (!validGlyph(k)) return;
    Glyph normalised;
    for (std::size_t i = 0; i < glyph.size(); ++i)
        normalised[i] = glyph[i] ? 1 : 0;
    m_known = true;
    if (normalised == m_glyphs[k]) return;
    m_glyphs[k] = normalised;
    Q_EMIT glyphChanged(k);
}

void FontImage::restore(const State &state) {
    for (int k = 0; k < kGlyphCount; ++k)
        setGlyph(k, state[size_t(k)]);
}

bool FontImage::isEmpty(int k) const {
    const Glyph g = glyph(k);
    return std::all_of(g.begin(), g.end(), [](quint8 p) { return p == 0; });
}

} // namespace kpr5
