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

// getifaddrs(3) on every read: about ten system calls (a netlink socket opened, two dumps asked
// for and received, closed).
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

// getifaddrs(3) again only when the kernel has announced a change since the last read: a
// netlink socket subscribed to link and address events (created on the first read, before the
// first listing, so no change can slip in between) is drained without blocking on each read. An
// unchanged list costs one system call. Without the socket, or when its queue overflowed,
// every read lists afresh. The counters of link entries (ifa_data) are therefore as old as the
// listing; callers take counters from /proc/net/dev.
class WatchedInterfaceAddressList final : public InterfaceAddressList {
  public:
    WatchedInterfaceAddressList() = default;
    ~WatchedInterfaceAddressList() override;
    WatchedInterfaceAddressList(const WatchedInterfaceAddressList&) = delete;
    WatchedInterfaceAddressList& operator=(const WatchedInterfaceAddressList&) = delete;

    [[nodiscard]] const ifaddrs* read() override;

  private:
    // Whether any event arrived (or some may have been lost) since the last call.
    [[nodiscard]] bool takeChanges();

    int events_ = -1;
    bool subscribed_ = false;  // tried once; events_ stays -1 when it failed
    GetifaddrsList listing_;
    const ifaddrs* list_ = nullptr;  // listing_'s last read
};

}  // namespace glintdeck
