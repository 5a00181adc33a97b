#include "samplers/smc.h"

#include <algorithm>
#include <bit>

namespace glintdeck {
namespace {

constexpr size_t kKeyOffset = 0;
constexpr size_t kDataSizeOffset = 28;
constexpr size_t kDataTypeOffset = 32;
constexpr size_t kDataAttributesOffset = 36;
constexpr size_t kResultOffset = 40;
constexpr size_t kStatusOffset = 41;
constexpr size_t kCommandOffset = 42;
constexpr size_t kData32Offset = 44;
constexpr size_t kBytesOffset = 48;

void put32(SMCKeyRecord::Wire& wire, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) wire[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t get32(const SMCKeyRecord::Wire& wire, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(wire[offset + i]) << (8 * i);
    return value;
}

// Four bytes of text make a 32-bit code only when each is one character: a key with a
// multi-byte character would overflow the code and name some other key.
bool isFourCharacterKey(std::string_view key) {
    return key.size() == 4 &&
           std::all_of(key.begin(), key.end(), [](char c) { return (c & 0x80) == 0; });
}

}  // namespace

SMCKeyRecord::Wire SMCKeyRecord::encode() const {
    Wire wire{};
    put32(wire, kKeyOffset, key);
    put32(wire, kDataSizeOffset, dataSize);
    put32(wire, kDataTypeOffset, dataType);
    wire[kDataAttributesOffset] = dataAttributes;
    wire[kResultOffset] = result;
    wire[kStatusOffset] = status;
    wire[kCommandOffset] = command;
    put32(wire, kData32Offset, data32);
    std::copy(bytes.begin(), bytes.end(), wire.begin() + kBytesOffset);
    return wire;
}

SMCKeyRecord SMCKeyRecord::decode(const Wire& wire) {
    SMCKeyRecord record;
    record.key = get32(wire, kKeyOffset);
    record.dataSize = get32(wire, kDataSizeOffset);
    record.dataType = get32(wire, kDataTypeOffset);
    record.dataAttributes = wire[kDataAttributesOffset];
    record.result = wire[kResultOffset];
    record.status = wire[kStatusOffset];
    record.command = wire[kCommandOffset];
    record.data32 = get32(wire, kData32Offset);
    std::copy_n(wire.begin() + kBytesOffset, kValueSize, record.bytes.begin());
    return record;
}

uint32_t fourCharCode(std::string_view key) {
    uint32_t code = 0;
    for (char c : key) code = code * 256 + static_cast<uint8_t>(c);
    return code;
}

std::string typeName(uint32_t code) {
    std::string name(4, ' ');
    for (size_t i = 0; i < 4; ++i) name[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return name;
}

SMC::SMC(std::unique_ptr<SmcConnection> connection) : connection_(std::move(connection)) {}

SMCKeyResult SMC::readKey(std::string_view key) {
    SMCKeyResult result;
    result.reading.key = std::string(key);
    if (!isFourCharacterKey(key)) {
        result.status = kSMCBadArgument;
        return result;
    }
    if (!connection_) {
        result.status = kSMCNotOpen;
        return result;
    }

    SMCKeyRecord input;
    input.key = fourCharCode(key);
    input.command = SMCKeyRecord::kReadKeyInfo;
    SMCKeyRecord::Wire output{};
    result.status = connection_->call(SmcConnection::kSelector, input.encode(), output);
    if (result.status != 0) return result;
    SMCKeyRecord info = SMCKeyRecord::decode(output);
    result.reading.dataSize = info.dataSize;
    result.reading.dataType = typeName(info.dataType);

    input.dataSize = info.dataSize;
    input.command = SMCKeyRecord::kReadBytes;
    result.status = connection_->call(SmcConnection::kSelector, input.encode(), output);
    if (result.status != 0) return result;
    SMCKeyRecord value = SMCKeyRecord::decode(output);
    size_t length = std::min<size_t>(info.dataSize, SMCKeyRecord::kValueSize);
    std::copy_n(value.bytes.begin(), length, result.reading.bytes.begin());
    return result;
}

std::optional<double> SMC::read(std::string_view key) {
    if (!connection_) return std::nullopt;
    SMCKeyResult result = readKey(key);
    if (result.status != 0 || result.reading.dataSize == 0) return std::nullopt;
    return decode(result.reading.dataType, result.reading.bytes);
}

std::optional<double> SMC::decode(std::string_view dataType, const std::array<uint8_t, 32>& bytes) {
    auto b = [&](size_t i) { return static_cast<uint32_t>(bytes[i]); };
    if (dataType == "ui8 ") return b(0);
    if (dataType == "ui16") return b(0) * 256 + b(1);
    if (dataType == "ui32") return (b(0) << 24) + (b(1) << 16) + (b(2) << 8) + b(3);
    if (dataType == "flt ") {
        // Little-endian as the controller sends it, assembled explicitly so a big-endian host
        // decodes the same value.
        uint32_t raw = b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
        return static_cast<double>(std::bit_cast<float>(raw));
    }
    if (dataType == "fpe2") return b(0) * 64 + b(1) / 4;
    // Unsigned on purpose: the bytes FF 00 are 255 degrees, not -1.
    if (dataType == "sp78") return static_cast<double>(b(0) * 256 + b(1)) / 256;
    return std::nullopt;
}

}  // namespace glintdeck
