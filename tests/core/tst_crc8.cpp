#include "crc8.h"

#include <QTest>

#include <vector>

namespace {

// The check byte computed bit by bit, the way the Converter describes it:
// preset 0xFF, data bits shifted in MSB first, then eight zero bits.
std::uint8_t augmentedCrc(const std::vector<std::uint8_t>& data)
{
    unsigned reg = 0xFF;
    auto shiftIn = [&reg](int bit) {
        reg = (reg << 1) | static_cast<unsigned>(bit);
        if (reg & 0x100)
            reg ^= 0x107;
    };
    for (std::uint8_t byte : data)
        for (int i = 7; i >= 0; --i)
            shiftIn((byte >> i) & 1);
    for (int i = 0; i < 8; ++i)
        shiftIn(0);
    return static_cast<std::uint8_t>(reg);
}

}  // namespace

class TestCrc8 : public QObject {
    Q_OBJECT
private slots:
    void knownVectors();
    void equalsTheBitwiseDefinition();
};

void TestCrc8::knownVectors()
{
    const std::uint8_t zeros[18] = {};
    QCOMPARE(crc8(zeros, sizeof zeros), std::uint8_t(0x56));
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    QCOMPARE(crc8(abc, sizeof abc), std::uint8_t(0x8E));
}

void TestCrc8::equalsTheBitwiseDefinition()
{
    std::vector<std::uint8_t> frame(18);
    for (unsigned seed = 1; seed < 300; ++seed) {
        for (std::size_t i = 0; i < frame.size(); ++i)
            frame[i] = static_cast<std::uint8_t>((seed * 131 + i * 17 + (seed >> 2) * i) & 0xFF);
        QCOMPARE(crc8(frame.data(), frame.size()), augmentedCrc(frame));
    }
}

QTEST_APPLESS_MAIN(TestCrc8)
#include "tst_crc8.moc"
