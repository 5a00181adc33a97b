#include "platform/linux/interface_address_list.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace glintdeck {
namespace {

// A socket that receives the kernel's announcements of links coming, going or changing flags
// and of IPv4 and IPv6 addresses added or removed; -1 when netlink is unavailable.
int subscribeToInterfaceEvents() {
    int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (fd < 0) return -1;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

GetifaddrsList::~GetifaddrsList() {
    if (list_) freeifaddrs(list_);
}

const ifaddrs* GetifaddrsList::read() {
    if (list_) freeifaddrs(list_);
    list_ = nullptr;
    if (getifaddrs(&list_) != 0) list_ = nullptr;
    return list_;
}

WatchedInterfaceAddressList::~WatchedInterfaceAddressList() {
    if (events_ >= 0) ::close(events_);
}

bool WatchedInterfaceAddressList::takeChanges() {
    if (events_ < 0) return true;
    bool changed = false;
    // The messages' contents do not matter, only that some came; they are small, and a
    // truncated one is still consumed whole.
    char message[512];
    for (;;) {
        ssize_t count = ::recv(events_, message, sizeof message, MSG_DONTWAIT);
        if (count > 0) {
            changed = true;
            continue;
        }
        if (count == 0) return true;  // not a netlink message; never loop on it
        if (errno == EINTR) continue;
        // The queue overflowed and dropped events: list afresh, then keep draining.
        if (errno == ENOBUFS) {
            changed = true;
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            ::close(events_);  // broken: from now on every read lists afresh
            events_ = -1;
            changed = true;
        }
        return changed;
    }
}

const ifaddrs* WatchedInterfaceAddressList::read() {
    if (!subscribed_) {
        subscribed_ = true;
        events_ = subscribeToInterfaceEvents();
    }
    if (!takeChanges() && list_) return list_;
    list_ = listing_.read();
    return list_;
}

}  // namespace glintdeck
