#include "firmwareimage.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

FirmwareImage parseFirmwareImage(const QByteArray& text)
{
    FirmwareImage image;
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && isBlank(text.at(i)))
            ++i;
        if (i + 1 >= n)
            break;
        const int high = hexValue(text.at(i));
        const int low = hexValue(text.at(i + 1));
        if (high < 0 || low < 0)
            break;
        if (image.bytes.size() == FirmwareImage::MaxBytes) {
            image.problem = FirmwareImage::TooLarge;
            return image;
        }
        image.bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }

    const auto byteAt = [&image](qsizetype pos) { return static_cast<unsigned char>(image.bytes.at(pos)); };
    qsizetype pos = 0;
    while (pos < image.bytes.size()) {
        if (pos + 2 > image.bytes.size()) {
            image.problem = FirmwareImage::BlockPastEnd;
            break;
        }
        const qsizetype size = byteAt(pos) * 256 + byteAt(pos + 1) + 2;
        if (pos + size > image.bytes.size()) {
            image.problem = FirmwareImage::BlockPastEnd;
            break;
        }
        image.blocks.append({pos, size});
        pos += size;
    }
    return image;
}
