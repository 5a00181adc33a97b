#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// The controller's request and reply record: 80 bytes, multi-byte fields little-endian, every
// byte not named here zero. encode() and decode() work byte by byte at fixed offsets, so the
// layout never depends on the compiler's padding or the host's byte order.
struct SMCKeyRecord {
    static constexpr size_t kSize = 80;
    static constexpr size_t kValueSize = 32;
    static constexpr uint8_t kReadKeyInfo = 9;
    static constexpr uint8_t kReadBytes = 5;
    using Wire = std::array<uint8_t, kSize>;

    uint32_t key = 0;       // offset 0
    uint32_t dataSize = 0;  // offset 28
    uint32_t dataType = 0;  // offset 32
    uint8_t dataAttributes = 0;
    uint8_t result = 0;
    uint8_t status = 0;
    uint8_t command = 0;  // offset 42
    uint32_t data32 = 0;
    std::array<uint8_t, kValueSize> bytes{};  // offset 48

    [[nodiscard]] Wire encode() const;
    [[nodiscard]] static SMCKeyRecord decode(const Wire& wire);
    bool operator==(const SMCKeyRecord&) const = default;
};

// The connection to a controller: one structure call that takes a record and answers one.
// Closing the connection is dropping it.
class SmcConnection {
  public:
    static constexpr uint32_t kSelector = 2;
    virtual ~SmcConnection() = default;
    // A status of 0 is success; anything else means the output is not to be used.
    [[nodiscard]] virtual int32_t call(uint32_t selector, const SMCKeyRecord::Wire& input,
                                       SMCKeyRecord::Wire& output) = 0;
};

// Finds the platform's controller and connects to it; nothing when there is none.
using SmcOpener = std::function<std::unique_ptr<SmcConnection>()>;

// Statuses the client answers itself, without a call: a key it refuses, and no connection.
inline constexpr int32_t kSMCBadArgument = static_cast<int32_t>(0xE00002C2);
inline constexpr int32_t kSMCNotOpen = static_cast<int32_t>(0xE00002CD);

// The first character in the most significant byte: "FNum" is 0x464E756D.
[[nodiscard]] uint32_t fourCharCode(std::string_view key);
// The reverse: four characters, most significant byte first.
[[nodiscard]] std::string typeName(uint32_t code);

struct SMCReading {
    std::string key;
    uint32_t dataSize = 0;
    std::string dataType;
    std::array<uint8_t, SMCKeyRecord::kValueSize> bytes{};  // zero beyond dataSize
    bool operator==(const SMCReading&) const = default;
};

struct SMCKeyResult {
    int32_t status = 0;  // 0 on success
    SMCReading reading;
};

// A client of the machine's sensor controller: reads four-character keys and decodes their
// values by data type. Used on its owner's queue only; never shared between owners. A key that
// is not exactly four ASCII characters is refused without a call, and an unconnected client
// makes no call at all.
class SMC final {
  public:
    explicit SMC(std::unique_ptr<SmcConnection> connection);

    SMC(const SMC&) = delete;
    SMC& operator=(const SMC&) = delete;

    [[nodiscard]] bool isConnected() const { return connection_ != nullptr; }
    void close() { connection_.reset(); }

    // The two-step raw read: key info (command 9), then the value bytes (command 5).
    [[nodiscard]] SMCKeyResult readKey(std::string_view key);
    // The decoded value, or nothing for an unknown key, a failed call or an unknown type.
    [[nodiscard]] std::optional<double> read(std::string_view key);

    // Decodes value bytes by the type table; nothing for a type outside it.
    [[nodiscard]] static std::optional<double> decode(std::string_view dataType,
                                                      const std::array<uint8_t, 32>& bytes);

  private:
    std::unique_ptr<SmcConnection> connection_;
};

}  // namespace glintdeck
