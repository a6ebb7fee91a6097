// A growable array in one owned block from operator new, whose failure is
// the out-of-memory error box: the program's list for the few places whose
// number of items has no fixed bound. Items are moved, never copied.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace tolvane {

template <typename T>
class GrowableArray {
  public:
    GrowableArray() noexcept = default;
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;
    GrowableArray(GrowableArray&& other) noexcept
        : items_(std::move(other.items_)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    GrowableArray& operator=(GrowableArray&& other) noexcept {
        items_ = std::move(other.items_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        return *this;
    }

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    T* data() noexcept { return items_.get(); }
    const T* data() const noexcept { return items_.get(); }
    T* begin() noexcept { return items_.get(); }
    T* end() noexcept { return items_.get() + size_; }
    const T* begin() const noexcept { return items_.get(); }
    const T* end() const noexcept { return items_.get() + size_; }
    // Callers index only below size().
    T& operator[](std::size_t i) noexcept { return items_[i]; }
    const T& operator[](std::size_t i) const noexcept { return items_[i]; }
    T& front() noexcept { return items_[0]; }
    const T& front() const noexcept { return items_[0]; }
    T& back() noexcept { return items_[size_ - 1]; }
    const T& back() const noexcept { return items_[size_ - 1]; }

    void reserve(std::size_t capacity) {
        if (capacity <= capacity_)
            return;
        std::unique_ptr<T[]> bigger(new T[capacity]());
        for (std::size_t i = 0; i < size_; ++i)
            bigger[i] = std::move(items_[i]);
        items_ = std::move(bigger);
        capacity_ = capacity;
    }
    void push_back(T item) {
        if (size_ == capacity_)
            reserve(capacity_ ? 2 * capacity_ : kFirstCapacity);
        items_[size_++] = std::move(item);
    }
    // Removes the items for which `unwanted` holds, keeping the others' order.
    template <typename Predicate>
    void erase_if(Predicate unwanted) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            if (!unwanted(items_[i])) {
                if (kept != i)
                    items_[kept] = std::move(items_[i]);
                ++kept;
            }
        }
        for (std::size_t i = kept; i < size_; ++i)
            items_[i] = T();
        size_ = kept;
    }

  private:
    static constexpr std::size_t kFirstCapacity = 8;
    std::unique_ptr<T[]> items_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace tolvane
