#pragma once

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <sys/socket.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/linux/interface_address_list.h"

namespace glintdeck {

// The interface address list of a fixture machine, from the file getifaddrs in its root: one
// entry a line, "name family flags [address]" with family packet, inet, inet6 or - (no
// address) and flags in hex, as getifaddrs(3) listed them. Lines starting with # are comments.
class FixtureAddressList final : public InterfaceAddressList {
  public:
    explicit FixtureAddressList(const std::string& root) {
        std::ifstream file(root + "/getifaddrs");
        std::string line;
        ifaddrs* previous = nullptr;
        while (std::getline(file, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            Node& node = nodes_.emplace_back();
            std::string family;
            std::string address;
            fields >> node.name >> family >> std::hex >> node.entry.ifa_flags >> address;
            node.entry.ifa_name = node.name.data();
            node.entry.ifa_addr = addressOf(node, family, address);
            if (previous) previous->ifa_next = &node.entry;
            previous = &node.entry;
        }
    }

    const ifaddrs* read() override { return nodes_.empty() ? nullptr : &nodes_.front().entry; }

  private:
    struct Node {
        ifaddrs entry{};
        sockaddr_storage address{};
        std::string name;
    };

    static sockaddr* addressOf(Node& node, const std::string& family, const std::string& text) {
        auto* storage = reinterpret_cast<sockaddr*>(&node.address);
        if (family == "packet") {
            storage->sa_family = AF_PACKET;
        } else if (family == "inet") {
            auto* in = reinterpret_cast<sockaddr_in*>(&node.address);
            in->sin_family = AF_INET;
            inet_pton(AF_INET, text.c_str(), &in->sin_addr);
        } else if (family == "inet6") {
            auto* in6 = reinterpret_cast<sockaddr_in6*>(&node.address);
            in6->sin6_family = AF_INET6;
            inet_pton(AF_INET6, text.c_str(), &in6->sin6_addr);
        } else {
            return nullptr;
        }
        return storage;
    }

    std::deque<Node> nodes_;  // a deque keeps every entry where the list points to it
};

}  // namespace glintdeck
