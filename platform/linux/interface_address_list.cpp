#include "platform/linux/interface_address_list.h"

namespace glintdeck {

GetifaddrsList::~GetifaddrsList() {
    if (list_) freeifaddrs(list_);
}

const ifaddrs* GetifaddrsList::read() {
    if (list_) freeifaddrs(list_);
    list_ = nullptr;
    if (getifaddrs(&list_) != 0) list_ = nullptr;
    return list_;
}

}  // namespace glintdeck
