// Objects handed to a window's thread travel through a mailbox that the
// receiver owns; the posted message only says "look in the mailbox". Any
// process on the desktop can post any message to our windows, so a message
// must never carry an owning pointer: with a mailbox a stray message finds
// either nothing or an object that was going to arrive anyway.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace cadrels {

template <typename T>
class Mailbox {
public:
    Mailbox() = default;
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    // Queues the object and posts `message` (parameters 0) to `window`. When
    // the post fails (the window is gone, the queue is full) the object is
    // taken back out and destroyed here, so nothing waits for a signal that
    // will never come. Returns whether the message was posted.
    bool Post(HWND window, UINT message, std::unique_ptr<T> object)
    {
        if (!object) {
            return false;
        }
        T* const raw = object.get();
        {
            std::lock_guard lock(mutex_);
            items_.push_back(std::move(object));
        }
        if (PostMessageW(window, message, 0, 0)) {
            return true;
        }
        std::unique_ptr<T> withdrawn;
        std::lock_guard lock(mutex_);
        for (auto it = items_.begin(); it != items_.end(); ++it) {
            if (it->get() == raw) {
                withdrawn = std::move(*it);
                items_.erase(it);
                break;
            }
        }
        return false;
    }

    // Adds an object without posting, for a receiver that polls or is woken
    // by a message of its own.
    void Put(std::unique_ptr<T> object)
    {
        if (object) {
            std::lock_guard lock(mutex_);
            items_.push_back(std::move(object));
        }
    }

    // The oldest object, or null when the mailbox is empty (a stray message,
    // or one whose object an earlier message already took).
    std::unique_ptr<T> Take()
    {
        std::lock_guard lock(mutex_);
        if (items_.empty()) {
            return nullptr;
        }
        std::unique_ptr<T> object = std::move(items_.front());
        items_.pop_front();
        return object;
    }

    // Everything waiting, oldest first, for a shutdown that drops it.
    std::deque<std::unique_ptr<T>> TakeAll()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(items_, {});
    }

    bool Empty() const
    {
        std::lock_guard lock(mutex_);
        return items_.empty();
    }

private:
    mutable std::mutex mutex_;
    std::deque<std::unique_ptr<T>> items_;
};

}  // namespace cadrels
