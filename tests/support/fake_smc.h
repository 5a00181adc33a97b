#pragma once

#include <algorithm>
#include <bit>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "samplers/smc.h"

namespace glintdeck {

// A controller that knows a table of keys, answering the record as the real one does: key info
// for command 9 (data size 0 for an unknown key), the value bytes for command 5. It insists on
// selector 2 and on the size learnt from command 9, so a client that gets the record wrong
// reads nothing. The table and the call count live in a shared state the test keeps.
struct FakeSmcState {
    struct Key {
        std::string type;
        std::vector<uint8_t> bytes;
    };
    std::map<std::string, Key> keys;
    std::set<std::string> failing;  // keys whose calls return an error status
    int calls = 0;

    void set(const std::string& key, std::string type, std::vector<uint8_t> bytes) {
        keys[key] = Key{std::move(type), std::move(bytes)};
    }
    // A "flt " value, as the Linux connection answers every key.
    void setFloat(const std::string& key, float value) {
        auto raw = std::bit_cast<uint32_t>(value);
        set(key, "flt ",
            {static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8),
             static_cast<uint8_t>(raw >> 16), static_cast<uint8_t>(raw >> 24)});
    }
};

class FakeSmcConnection final : public SmcConnection {
  public:
    explicit FakeSmcConnection(std::shared_ptr<FakeSmcState> state) : state_(std::move(state)) {}

    int32_t call(uint32_t selector, const SMCKeyRecord::Wire& input,
                 SMCKeyRecord::Wire& output) override {
        ++state_->calls;
        if (selector != kSelector) return -1;
        SMCKeyRecord request = SMCKeyRecord::decode(input);
        std::string key = typeName(request.key);
        if (state_->failing.contains(key)) return -2;
        SMCKeyRecord reply;
        auto found = state_->keys.find(key);
        if (request.command == SMCKeyRecord::kReadKeyInfo) {
            if (found != state_->keys.end()) {
                reply.dataSize = static_cast<uint32_t>(found->second.bytes.size());
                reply.dataType = fourCharCode(found->second.type);
            }
        } else if (request.command == SMCKeyRecord::kReadBytes) {
            if (found == state_->keys.end() || request.dataSize != found->second.bytes.size()) {
                return -3;
            }
            const auto& bytes = found->second.bytes;
            std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), 32), reply.bytes.begin());
        } else {
            return -4;
        }
        output = reply.encode();
        return 0;
    }

  private:
    std::shared_ptr<FakeSmcState> state_;
};

inline SmcOpener fakeSmcOpener(std::shared_ptr<FakeSmcState> state) {
    return [state] { return std::make_unique<FakeSmcConnection>(state); };
}

}  // namespace glintdeck
