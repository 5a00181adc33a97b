#include "platform/linux/pci_names.h"

#include <array>
#include <csetjmp>

// libpci's header declares its functions without C linkage for C++.
extern "C" {
#include <pci/pci.h>
}

namespace glintdeck {
namespace {

// libpci reports a malformed database line, or memory running out, through an error handler
// that must not return; its default prints and exits the process. Ours jumps back to the
// lookup that was running, which then gives up on names for good.
thread_local std::jmp_buf* lookupInProgress = nullptr;

// The GNU spelling makes noreturn part of the function's type, which clang requires for a
// pointer declared with it; the standard attribute is not.
[[gnu::noreturn]] void abandonLookup(char*, ...) { std::longjmp(*lookupInProgress, 1); }

void ignoreMessage(char*, ...) {}

// Kept free of objects with destructors, so that the jump out of libpci skips none. False when
// libpci gave up.
bool guardedLookup(pci_access* access, int flags, uint16_t vendor, uint16_t device, char* buffer,
                   int size, char** name) {
    std::jmp_buf jump;
    lookupInProgress = &jump;
    if (setjmp(jump) != 0) {
        lookupInProgress = nullptr;
        return false;
    }
    *name = pci_lookup_name(access, buffer, size, flags, int{vendor}, int{device});
    lookupInProgress = nullptr;
    return true;
}

}  // namespace

PciNames::PciNames(const std::string& idsFile) : idsFile_(idsFile), access_(pci_alloc()) {
    access_->error = abandonLookup;
    access_->warning = ignoreMessage;
    access_->debug = ignoreMessage;
    // Only the local database: no DNS look-ups and no per-user cache file.
    access_->id_lookup_mode = 0;
    flags_ = PCI_LOOKUP_DEVICE | PCI_LOOKUP_NO_NUMBERS;
    if (!idsFile_.empty()) {
        pci_set_name_list_path(access_, idsFile_.data(), 0);
        // The named file alone answers, not a newer copy in udev's database.
        flags_ |= PCI_LOOKUP_NO_HWDB;
    }
}

PciNames::~PciNames() {
    if (access_ != nullptr) pci_cleanup(access_);
}

std::optional<std::string> PciNames::deviceName(uint16_t vendor, uint16_t device) {
    if (access_ == nullptr) return std::nullopt;
    std::array<char, 256> buffer{};
    char* name = nullptr;
    if (!guardedLookup(access_, flags_, vendor, device, buffer.data(),
                       static_cast<int>(buffer.size()), &name)) {
        // A parse error is raised after the file is closed and the table is consistent, so
        // the access object can still be freed.
        pci_cleanup(access_);
        access_ = nullptr;
        return std::nullopt;
    }
    if (name == nullptr) return std::nullopt;
    return std::string(name);
}

std::string productName(std::string_view databaseName) {
    size_t open = databaseName.find('[');
    size_t close = databaseName.rfind(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open + 2) {
        return std::string(databaseName);
    }
    return std::string(databaseName.substr(open + 1, close - open - 1));
}

}  // namespace glintdeck
