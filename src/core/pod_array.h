#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// A growable array of plain values kept in one malloc'd block. Growing goes through realloc,
// which for a block of many megabytes moves pages instead of copying them: a list of ten
// million rows grows without the pauses a std::vector's copy-on-growth would cause.
template <typename T>
class PodArray {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    PodArray() = default;
    PodArray(const PodArray&) = delete;
    PodArray& operator=(const PodArray&) = delete;
    ~PodArray() { std::free(data_); }

    qsizetype size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](qsizetype i) const { return data_[i]; }
    T& operator[](qsizetype i) { return data_[i]; }

    void push_back(const T& value) {
        if (size_ == capacity_) {
            grow(capacity_ < 16 ? 16 : capacity_ * 2);
        }
        data_[size_++] = value;
    }

    void reserve(qsizetype capacity) {
        if (capacity > capacity_) {
            grow(capacity);
        }
    }

    // An explicit copy: copying arrays of millions of values should never happen by accident.
    void assign(const PodArray& other) {
        if (this == &other) {
            return;
        }
        reserve(other.size_);
        if (other.size_ > 0) {
            std::memcpy(data_, other.data_, static_cast<size_t>(other.size_) * sizeof(T));
        }
        size_ = other.size_;
    }

    void erase(qsizetype i) {
        std::memmove(data_ + i, data_ + i + 1, static_cast<size_t>(size_ - i - 1) * sizeof(T));
        --size_;
    }

    void clear() {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

  private:
    void grow(qsizetype capacity) {
        void* grown = std::realloc(data_, static_cast<size_t>(capacity) * sizeof(T));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        data_ = static_cast<T*>(grown);
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    qsizetype size_ = 0;
    qsizetype capacity_ = 0;
};
