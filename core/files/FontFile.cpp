#include "core/files/FontFile.h"

#include "core/files/TextLines.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <optional>
#include <vector>

namespace kpr5 {

namespace {

const QByteArray kEol = QByteArrayLiteral("\r\n");

// One line without its end, or nothing at the end of the device. CR, LF and
// CR LF all end a line.
std::optional<QByteArray> readLine(QIODevice &device) {
    QByteArray line;
    char ch = 0;
    if (!device.getChar(&ch)) return std::nullopt;
    for (;;) {
        if (ch == '\n') return line;
        if (ch == '\r') {
            char next = 0;
            if (device.getChar(&next) && next != '\n') device.ungetChar(next);
            return line;
        }
        line += ch;
        if (!device.getChar(&ch)) return line;
    }
}

// The values of a line's characters, counted in code page 932: a lead byte
// (0x81..0x9F, 0xE0..0xFC) and the byte after it are one character. A digit's
// value is the digit, anything else is 0; -1 marks none yet.
std::vector<int> characterValues(const QByteArray &line) {
    std::vector<int> values;
    values.reserve(std::size_t(line.size()));
    for (int i = 0; i < line.size(); ++i) {
        const quint8 b = quint8(line[i]);
        if (b >= '0' && b <= '9') {
            values.push_back(b - '0');
            continue;
        }
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && i + 1 < line.size()) ++i;
        values.push_back(0);
    }
    return values;
}

} // namespace

bool writeFontFile(const FontImage &font, QIODevice &device, const QDateTime &savedAt,
                   QString *error) {
    QByteArray text;
    text.reserve(kFontFileLines * 18 + 64);
    text += "Save Date and Time " + savedAt.date().toString(Qt::ISODate).toLatin1() + ' ' +
            savedAt.time().toString(QStringLiteral("HH:mm:ss")).toLatin1() + kEol;
    for (int k = 0; k < FontImage::kGlyphCount; ++k) {
        text += QByteArray::number(k) + kEol;
        for (int row = 0; row < FontImage::kSize; ++row) {
            QByteArray line(FontImage::kSize, '0');
            for (int col = 0; col < FontImage::kSize; ++col)
                if (font.pixel(k, row, col)) line[col] = '1';
            text += line + kEol;
        }
    }
    text += "File End" + kEol;

    const qint64 written = device.write(text);
    if (written != text.size()) {
        if (error)
            *error = written < 0 ? device.errorString()
                                 : QStringLiteral("Only %1 of %2 bytes could be written "
                                                  "(is the disk full?)")
                                       .arg(written)
                                       .arg(text.size());
        return false;
    }
    return true;
}

FontFileResult readFontFile(QIODevice &device, FontImage &font) {
    std::array<FontImage::Glyph, FontImage::kGlyphCount> glyphs;
    for (int k = 0; k < FontImage::kGlyphCount; ++k)
        glyphs[std::size_t(k)] = font.glyph(k);
    const auto apply = [&] {
        for (int k = 0; k < FontImage::kGlyphCount; ++k)
            font.setGlyph(k, glyphs[std::size_t(k)]);
    };

    readLine(device); // "Save Date and Time ..."
    int block = 0;
    bool fontLine = false; // a row of sixteen "0" and "1" seen inside a block
    const auto endedEarly = [&] {
        if (!fontLine) return FontFileResult::NotFontFile;
        apply();
        return FontFileResult::EndedEarly;
    };
    while (auto header = readLine(device)) {
        const std::vector<int> head = characterValues(*header);
        if (head.size() != 1 || head[0] >= 8) continue;
        for (int row = 0; row < FontImage::kSize; ++row) {
            const auto line = readLine(device);
            if (!line) // the file ends inside the block
                return endedEarly();
            const std::vector<int> values = characterValues(*line);
            if (values.size() != std::size_t(FontImage::kSize)) continue;
            if (!fontLine)
                fontLine = std::all_of(line->begin(), line->end(),
                                       [](char c) { return c == '0' || c == '1'; });
            for (int col = 0; col < FontImage::kSize; ++col) {
                const int v = values[std::size_t(col)];
                if (v > 1) continue;                 // "2".."9" leave the pixel
                if (block >= FontImage::kGlyphCount) // a ninth block: no glyph to hold it
                    return endedEarly();
                glyphs[std::size_t(block)][std::size_t(row * FontImage::kSize + col)] = quint8(v);
            }
        }
        ++block;
    }
    if (!fontLine) return FontFileResult::NotFontFile;
    apply();
    return FontFileResult::Loaded;
}

bool saveFontFile(const FontImage &font, const QString &path, QString *error,
                  const QDateTime &savedAt) {
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    writeFontFile(font, text, savedAt);
    return textfile::saveFile(path, text.data(), error);
}

FontFileResult loadFontFile(const QString &path, FontImage &font, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return FontFileResult::CannotOpen;
    }
    if (path.right(3).toUpper() != QLatin1String("FR5")) return FontFileResult::WrongExtension;
    return readFontFile(file, font);
}

} // namespace kpr5
