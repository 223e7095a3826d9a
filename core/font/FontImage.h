#pragma once
// The eight 16 x 16 user characters ("font image"). They live for the whole
// run: the font window edits them, the font file and the font transfers read
// and write them, and the whole-radio write sends them.

#include <QObject>

#include <array>

namespace kpr5 {

class FontImage : public QObject {
    Q_OBJECT
public:
    static constexpr int kGlyphCount = 8; // user characters 1..8 are glyphs 0..7
    static constexpr int kSize = 16;      // rows and columns of a glyph
    // One glyph, row by row: pixel (row, col) at row * 16 + col; 1 = set, 0 = clear.
    using Glyph = std::array<quint8, kSize * kSize>;

    explicit FontImage(QObject *parent = nullptr);

    static bool validGlyph(int k) { return k >= 0 && k < kGlyphCount; }
    static bool validCell(int row, int col) {
        return row >= 0 && row < kSize && col >= 0 && col < kSize;
    }

    // 0 or 1; 0 for a position outside the image.
    int pixel(int k, int row, int col) const;
    // Positions outside the image are ignored; any non-zero value sets the pixel.
    void setPixel(int k, int row, int col, int value);
    void togglePixel(int k, int row, int col);
    // Set (value 1) or clear (0) the rectangle between two corners given in
    // any order; the part outside the glyph is ignored.
    void fillRect(int k, int row1, int col1, int row2, int col2, int value);
    void clearGlyph(int k);
    void clearAll();

    Glyph glyph(int k) const;
    void setGlyph(int k, const Glyph &glyph);
    bool isEmpty(int k) const;

    // Whether the characters were read from the radio, opened from a file or
    // drawn in this run. Until then the image is only the start-up blank,
    // which a whole-radio write must not send over the radio's own.
    bool known() const { return m_known; }

    // All eight glyphs at once (undo).
    using State = std::array<Glyph, kGlyphCount>;
    State state() const { return m_glyphs; }
    void restore(const State &state);

Q_SIGNALS:
    // Pixels of glyph k changed.
    void glyphChanged(int k);

private:
    std::array<Glyph, kGlyphCount> m_glyphs{};
    bool m_known = false;
};

} // namespace kpr5
