#pragma once
// A fixed ring that passes values from exactly one producer thread to exactly one consumer
// thread without locks: the producer only moves the tail, the consumer only the head.

#include <array>
#include <atomic>
#include <cstddef>

template <typename T, size_t Capacity>
class SoundHandoff {
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "a power of two");

public:
    // Producer. False when the ring is full.
    bool Push(T value) {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
        slots_[tail & kMask] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer. The oldest value without taking it; false when empty.
    bool Peek(T& value) const {
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        value = slots_[head & kMask];
        return true;
    }

    // Consumer. Takes the oldest value; false when empty.
    bool Pop(T& value) {
        if (!Peek(value)) return false;
        head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
        return true;
    }

    // Consumer.
    bool Empty() const {
        return head_.load(std::memory_order_relaxed) == tail_.load(std::memory_order_acquire);
    }

private:
    static constexpr size_t kMask = Capacity - 1;
    std::array<T, Capacity> slots_{};
    // Apart, so that the two threads do not share a cache line for their own index.
    alignas(64) std::atomic<size_t> head_{0};
    alignas(64) std::atomic<size_t> tail_{0};
};
