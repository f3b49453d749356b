// Arbitrary bytes as a firmware file's text: the hex reader and the block
// walk, and the walk's promise that every block lies inside the image.
#include "firmwareimage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const FirmwareImage image = parseFirmwareImage(text);

    if (image.bytes.size() > FirmwareImage::MaxBytes && image.problem != FirmwareImage::TooLarge)
        abort();
    if (image.problem == FirmwareImage::Fine) {
        // A sendable image is covered by its blocks, in order, without gaps.
        qsizetype next = 0;
        for (const FirmwareImage::Block& block : image.blocks) {
            if (block.offset != next || block.size < 2 || block.offset + block.size > image.bytes.size())
                abort();
            const auto hi = static_cast<unsigned char>(image.bytes[block.offset]);
            const auto lo = static_cast<unsigned char>(image.bytes[block.offset + 1]);
            if (qsizetype(hi) * 256 + lo + 2 != block.size)
                abort();
            next += block.size;
        }
        if (next != image.bytes.size())
            abort();
    }
    return 0;
}
