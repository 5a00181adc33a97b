#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace glintdeck {

// Reads numbers and words off the front of kernel text without allocating. Every read skips
// leading blanks (spaces and tabs, not newlines) and fails without consuming on malformed input.
class TextScanner final {
  public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    [[nodiscard]] std::optional<uint64_t> readUnsigned();
    [[nodiscard]] std::optional<int64_t> readSigned();
    [[nodiscard]] std::optional<double> readDouble();
    // A run of characters up to the next blank or newline.
    [[nodiscard]] std::optional<std::string_view> readWord();
    // True when the next non-blank text starts with prefix, which is then consumed.
    bool skipPrefix(std::string_view prefix);
    // Moves past the next newline (or to the end).
    void skipLine();

    [[nodiscard]] bool atEnd() const { return text_.empty(); }
    [[nodiscard]] std::string_view rest() const { return text_; }

  private:
    void skipBlanks();

    std::string_view text_;
};

}  // namespace glintdeck
