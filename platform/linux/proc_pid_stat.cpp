#include "platform/linux/proc_pid_stat.h"

#include <charconv>
#include <cstring>

namespace glintdeck {
namespace {

// Fields after the command, counting the state letter (field 3 of proc(5)) as 0.
constexpr int kUtime = 14 - 3;
constexpr int kStime = 15 - 3;
constexpr int kStartTime = 22 - 3;
constexpr int kResident = 24 - 3;
constexpr int kStartCode = 26 - 3;
constexpr int kEndCode = 27 - 3;
constexpr int kStartStack = 28 - 3;

// Walks the single-space-separated fields the kernel prints. Read once per process per tick,
// so it skips fields by counting spaces rather than tokenising every one.
class FieldCursor {
  public:
    explicit FieldCursor(std::string_view text) : text_(text) {}

    template <typename Number>
    [[nodiscard]] std::optional<Number> numberAt(int field) {
        for (; index_ < field; ++index_) {
            size_t space = text_.find(' ');
            if (space == std::string_view::npos) return std::nullopt;
            text_.remove_prefix(space + 1);
        }
        Number value{};
        auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), value);
        if (error != std::errc{}) return std::nullopt;
        return value;
    }

  private:
    std::string_view text_;
    int index_ = 0;
};

}  // namespace

std::optional<ProcPidStat> parseProcPidStat(std::string_view text) {
    size_t open = text.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    // memrchr, not rfind: rfind walks the ~250 bytes after the name a byte at a time, and this
    // runs for every process on every scan.
    const void* last = memrchr(text.data(), ')', text.size());
    if (last == nullptr) return std::nullopt;
    size_t close = static_cast<size_t>(static_cast<const char*>(last) - text.data());
    if (close < open || close + 2 > text.size()) return std::nullopt;
    ProcPidStat stat;
    int32_t pid = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + open, pid);
    if (error != std::errc{} || pid <= 0) return std::nullopt;
    stat.pid = pid;
    stat.comm = text.substr(open + 1, close - open - 1);

    FieldCursor fields(text.substr(close + 2));
    std::optional<uint64_t> utime = fields.numberAt<uint64_t>(kUtime);
    std::optional<uint64_t> stime = fields.numberAt<uint64_t>(kStime);
    std::optional<uint64_t> startTime = fields.numberAt<uint64_t>(kStartTime);
    // Older kernels printed the resident count signed; a negative one means none.
    std::optional<int64_t> resident = fields.numberAt<int64_t>(kResident);
    if (!utime || !stime || !startTime || !resident) return std::nullopt;
    stat.utime = *utime;
    stat.stime = *stime;
    stat.startTime = *startTime;
    stat.residentPages = *resident > 0 ? static_cast<uint64_t>(*resident) : 0;
    stat.image.codeStart = fields.numberAt<uint64_t>(kStartCode).value_or(0);
    stat.image.codeEnd = fields.numberAt<uint64_t>(kEndCode).value_or(0);
    stat.image.stackStart = fields.numberAt<uint64_t>(kStartStack).value_or(0);
    return stat;
}

}  // namespace glintdeck
