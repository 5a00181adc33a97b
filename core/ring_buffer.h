#pragma once

#include <cstddef>
#include <vector>

namespace glintdeck {

// A fixed-capacity history that overwrites its oldest element once full. Appending never moves
// existing elements; ordered() copies them out oldest first.
template <typename T>
class RingBuffer final {
  public:
    // capacity must be at least 1.
    explicit RingBuffer(std::ptrdiff_t capacity) : capacity_(capacity) {
        storage_.reserve(static_cast<size_t>(capacity));
    }

    void append(T element) {
        if (static_cast<std::ptrdiff_t>(storage_.size()) >= capacity_) {
            storage_[static_cast<size_t>(writeIndex_)] = std::move(element);
            writeIndex_ = (writeIndex_ + 1) % capacity_;
        } else {
            storage_.push_back(std::move(element));
        }
    }

    [[nodiscard]] std::vector<T> ordered() const {
        if (static_cast<std::ptrdiff_t>(storage_.size()) != capacity_) return storage_;
        std::vector<T> result;
        result.reserve(storage_.size());
        result.insert(result.end(), storage_.begin() + writeIndex_, storage_.end());
        result.insert(result.end(), storage_.begin(), storage_.begin() + writeIndex_);
        return result;
    }

    [[nodiscard]] std::ptrdiff_t capacity() const { return capacity_; }

  private:
    std::vector<T> storage_;
    std::ptrdiff_t writeIndex_ = 0;  // next slot overwritten once full; 0 while filling
    std::ptrdiff_t capacity_;
};

}  // namespace glintdeck
