#pragma once

#include <ifaddrs.h>

namespace glintdeck {

// The kernel's interface address list in getifaddrs(3) form, behind an interface so that tests
// can hand in the list of a machine they describe.
class InterfaceAddressList {
  public:
    virtual ~InterfaceAddressList() = default;
    // Reads the list afresh and returns its first entry, or nullptr when it cannot be read or
    // is empty. The entries stay valid until the next read.
    [[nodiscard]] virtual const ifaddrs* read() = 0;
};

class GetifaddrsList final : public InterfaceAddressList {
  public:
    GetifaddrsList() = default;
    ~GetifaddrsList() override;
    GetifaddrsList(const GetifaddrsList&) = delete;
    GetifaddrsList& operator=(const GetifaddrsList&) = delete;

    [[nodiscard]] const ifaddrs* read() override;

  private:
    ifaddrs* list_ = nullptr;
};

}  // namespace glintdeck
