#pragma once

#include "GSTypes.hpp"
#include "MemoryManager.hpp"

#include <cstring>
#include <new>
#include <utility>

namespace GS {

// The host's growable array. Its storage always comes from GS::MemoryManager, so an array that an
// add-on created may be filled by the host and emptied by the add-on. Layout: data pointer, size,
// capacity (16 bytes).
template <typename T>
class Array {
public:
    Array() = default;
    Array(const Array& other) { AppendAll(other); }
    Array(Array&& other) noexcept : data(other.data), size(other.size), capacity(other.capacity) {
        other.data = nullptr;
        other.size = other.capacity = 0;
    }
    Array& operator=(const Array& other) {
        if (this != &other) {
            Clear();
            AppendAll(other);
        }
        return *this;
    }
    Array& operator=(Array&& other) noexcept {
        if (this != &other) {
            Release();
            data = std::exchange(other.data, nullptr);
            size = std::exchange(other.size, 0);
            capacity = std::exchange(other.capacity, 0);
        }
        return *this;
    }
    ~Array() { Release(); }

    void Push(const T& item) { Emplace(item); }
    void Push(T&& item) { Emplace(std::move(item)); }

    template <typename... Args>
    T& Emplace(Args&&... args) {
        if (size == capacity) {
            Grow(capacity == 0 ? 4 : capacity * 2);
        }
        T* slot = new (data + size) T(std::forward<Args>(args)...);
        ++size;
        return *slot;
    }

    void Clear() {
        for (UIndex i = 0; i < size; ++i) {
            data[i].~T();
        }
        size = 0;
    }

    UIndex GetSize() const { return size; }
    bool IsEmpty() const { return size == 0; }

    T& operator[](UIndex index) { return data[index]; }
    const T& operator[](UIndex index) const { return data[index]; }

    T* begin() { return data; }
    T* end() { return data + size; }
    const T* begin() const { return data; }
    const T* end() const { return data + size; }

private:
    void AppendAll(const Array& other) {
        for (const T& item : other) {
            Push(item);
        }
    }

    void Grow(UIndex newCapacity) {
        T* fresh = static_cast<T*>(MemoryManager::Allocate(sizeof(T) * newCapacity));
        for (UIndex i = 0; i < size; ++i) {
            new (fresh + i) T(std::move(data[i]));
            data[i].~T();
        }
        MemoryManager::Free(data);
        data = fresh;
        capacity = newCapacity;
    }

    void Release() {
        Clear();
        MemoryManager::Free(data);
        data = nullptr;
        capacity = 0;
    }

    T* data = nullptr;
    UIndex size = 0;
    UIndex capacity = 0;
};

} // namespace GS
