#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A growable byte array holding a quests.lbd image in memory. Growing it fills
// the new bytes with zero.
class ByteBuffer {
public:
    std::size_t Size() const { return bytes.size(); }
    void Resize(std::size_t size) { bytes.resize(size, 0); }
    std::uint8_t* Data() { return bytes.data(); }
    const std::uint8_t* Data() const { return bytes.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes; }

private:
    std::vector<std::uint8_t> bytes;
};
