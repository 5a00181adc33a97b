// The controller's replies: the client decodes whatever two records a connection answers with
// (key information, then the value), and the Linux connection answers whatever request record
// it is handed. The input is the two 80-byte replies, then the request, zero-padded.

#include <algorithm>
#include <map>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "samplers/smc.h"

namespace glintdeck {
namespace {

class ReplayedConnection final : public SmcConnection {
  public:
    ReplayedConnection(SMCKeyRecord::Wire info, SMCKeyRecord::Wire value) : replies_{info, value} {}
    int32_t call(uint32_t selector, const SMCKeyRecord::Wire& input,
                 SMCKeyRecord::Wire& output) override {
        require(selector == kSelector);
        SMCKeyRecord request = SMCKeyRecord::decode(input);
        require(request.command == SMCKeyRecord::kReadKeyInfo ||
                request.command == SMCKeyRecord::kReadBytes);
        output = replies_[calls_++ % 2];
        return 0;
    }

  private:
    SMCKeyRecord::Wire replies_[2];
    int calls_ = 0;
};

SMCKeyRecord::Wire wireAt(const uint8_t* data, size_t size, size_t offset) {
    SMCKeyRecord::Wire wire{};
    if (offset < size) {
        std::copy_n(data + offset, std::min(size - offset, wire.size()), wire.begin());
    }
    return wire;
}

}  // namespace
}  // namespace glintdeck

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    SMCKeyRecord::Wire info = wireAt(data, size, 0);
    SMCKeyRecord::Wire value = wireAt(data, size, SMCKeyRecord::kSize);
    SMCKeyRecord::Wire request = wireAt(data, size, 2 * SMCKeyRecord::kSize);

    // Every field the record names survives encoding.
    SMCKeyRecord decoded = SMCKeyRecord::decode(info);
    require(SMCKeyRecord::decode(decoded.encode()) == decoded);

    SMC smc(std::make_unique<ReplayedConnection>(info, value));
    SMCKeyResult result = smc.readKey("TC0P");
    require(result.status == 0 && result.reading.dataType.size() == 4);
    (void)smc.read("F0Ac");
    for (const char* type : {"ui8 ", "ui16", "ui32", "flt ", "fpe2", "sp78"}) {
        (void)SMC::decode(type, SMCKeyRecord::decode(value).bytes);
    }

    std::map<std::string, HwmonSmcValue> keys;
    keys.emplace("FNum", HwmonSmcValue{.constant = 2});
    HwmonSmcConnection connection(std::move(keys));
    SMCKeyRecord::Wire output{};
    (void)connection.call(SmcConnection::kSelector, request, output);
    return 0;
}
