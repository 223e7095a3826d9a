#pragma once
// The font file (".FR5"): the eight user characters as text, lines ended by
// CR LF.
//
//   Save Date and Time 2026-12-06 09:15:00
//   0                      <- glyph block header: one digit
//   0000000000000000       <- rows 0..15, columns 0..15, "1" set / "0" clear
//   ... 16 rows, then the blocks "1" .. "7"
//   File End
//
// 1 + 8 * 17 + 1 = 138 lines.

#include "core/font/FontImage.h"

#include <QDateTime>
#include <QString>

class QIODevice;

namespace kpr5 {

constexpr int kFontFileLines = 138;

enum class FontFileResult {
    Loaded,         // read to the end of the file
    EndedEarly,     // the file ended inside a glyph block, or a ninth block held pixels;
                    // the glyphs filled before that keep their new values
    WrongExtension, // the name does not end in "FR5"; nothing changed
    CannotOpen,     // the file could not be opened; nothing changed
    NotFontFile,    // no glyph block holds a single valid row ("0" and "1", 16 of
                    // them): an empty file, random bytes, another text; nothing changed
};

// Writes the whole file. False with a reason when the device fails.
bool writeFontFile(const FontImage &font, QIODevice &device, const QDateTime &savedAt,
                   QString *error = nullptr);
// Reads glyph blocks from the device into the font image:
// - the first line is ignored;
// - a line of exactly one character whose value is below 8 starts a block
//   (the value of a character is its digit for "0".."9", 0 for anything
//   else); every other line outside a block is skipped ("File End" too);
// - the 16 lines after a header are rows 0..15; a line that is not exactly 16
//   characters long is skipped but uses up its row; in a row, "0" and any
//   non-digit clear the pixel, "1" sets it, "2".."9" leave it as it was;
// - blocks fill glyphs 0, 1, 2 ... in file order, whatever their header says;
// - a file in which no block holds a row of sixteen "0" and "1" is not a font
//   file and changes nothing.
// Lines may end in CR LF, LF or CR; characters are counted in code page 932
// (a double-byte character is one character).
FontFileResult readFontFile(QIODevice &device, FontImage &font);

// The file on disk. Saving replaces the file only once the new one is
// complete; false with a reason otherwise (the old file is left as it was).
// A pipe or character device is written directly (textfile::saveFile).
bool saveFontFile(const FontImage &font, const QString &path, QString *error = nullptr,
                  const QDateTime &savedAt = QDateTime::currentDateTime());
FontFileResult loadFontFile(const QString &path, FontImage &font, QString *error = nullptr);

} // namespace kpr5
