#pragma once

#include <QByteArray>
#include <QList>

// A firmware file: hexadecimal text, two digits per byte, blanks and line
// breaks between pairs skipped; reading stops at the first character that
// does not start a pair or at the end. The image is a sequence of blocks,
// each two length bytes (high first) and that many bytes, sent whole.
struct FirmwareImage {
    static constexpr qsizetype MaxBytes = 262144;

    enum Problem { Fine, TooLarge, BlockPastEnd };

    QByteArray bytes;
    // Offset and size (length bytes included) of every block, in order.
    struct Block {
        qsizetype offset;
        qsizetype size;
    };
    QList<Block> blocks;
    Problem problem = Fine;
};

// Reads the image from the file's text and walks its blocks. A text that
// holds more than MaxBytes bytes, or a block whose length runs past the end
// of the image, is reported in problem and must not be sent.
FirmwareImage parseFirmwareImage(const QByteArray& text);
