// The watched address list against the real kernel, in a network namespace of a child's own so
// that the changes are ours alone: an unchanged list is not listed again, a link or address
// change is seen at the next read.

#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "platform/linux/interface_address_list.h"
#include "tests/support/child_process.h"

namespace glintdeck {
namespace {

// A network namespace holding only a loopback that is down.
bool enterPrivateNetwork() {
    return ::unshare(CLONE_NEWNET) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0;
}

bool bringLoopbackUp() {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool done = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    done = done && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return done;
}

// Flags of the loopback's link entry and whether it has an IPv4 address; -1 flags when absent.
struct Loopback {
    long flags = -1;
    bool hasIPv4 = false;
};

Loopback loopbackIn(const ifaddrs* first) {
    Loopback found;
    for (const ifaddrs* entry = first; entry; entry = entry->ifa_next) {
        if (std::string_view(entry->ifa_name) != "lo" || !entry->ifa_addr) continue;
        if (entry->ifa_addr->sa_family == AF_PACKET) found.flags = entry->ifa_flags;
        if (entry->ifa_addr->sa_family == AF_INET) found.hasIPv4 = true;
    }
    return found;
}

// A flag the kernel never sets, written into a listing to recognise it when it comes back: a
// fresh listing could well reuse the same memory, so its address proves nothing.
constexpr unsigned kMark = 1U << 30;

bool marked(const ifaddrs* first) { return first && (first->ifa_flags & kMark) != 0; }

void mark(const ifaddrs* first) { const_cast<ifaddrs*>(first)->ifa_flags |= kMark; }

TEST(WatchedInterfaceAddressListTest, ListsAgainOnlyAfterTheKernelAnnouncesAChange) {
    int status = inChild([] {
        if (!enterPrivateNetwork()) return kChildSkipped;
        WatchedInterfaceAddressList list;
        const ifaddrs* first = list.read();
        Loopback down = loopbackIn(first);
        if (down.flags < 0 || (down.flags & IFF_UP) != 0 || down.hasIPv4) return 10;
        mark(first);
        if (!marked(list.read()) || !marked(list.read())) return 11;  // nothing changed
        if (!bringLoopbackUp()) return kChildSkipped;
        const ifaddrs* after = list.read();
        if (marked(after)) return 12;
        // Announced before the call that made the change returned. (Later events, such as
        // the operational state settling, may come at any time and are not waited for.)
        Loopback up = loopbackIn(after);
        if ((up.flags & IFF_UP) == 0) return 13;
        return up.hasIPv4 ? 0 : 14;  // 127.0.0.1 came with it
    });
    if (status == kChildSkipped) GTEST_SKIP() << "no private network namespace here";
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace glintdeck
