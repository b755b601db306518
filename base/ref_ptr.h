// An owning pointer to an intrusively counted object (anything with addRef
// and release): copying adds a reference, destruction releases one.
#pragma once

#include <utility>

namespace XLoop {

template <class T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    // Shares object: takes a reference of its own.
    explicit RefPtr(T* object) : object(object) {
        if (object != nullptr) object->addRef();
    }
    RefPtr(const RefPtr& other) : RefPtr(other.object) {}
    RefPtr(RefPtr&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    template <class U>
    RefPtr(const RefPtr<U>& other) : RefPtr(other.get()) {}
    template <class U>
    RefPtr(RefPtr<U>&& other) noexcept : object(other.leak()) {}
    RefPtr& operator=(RefPtr other) noexcept {
        std::swap(object, other.object);
        return *this;
    }
    ~RefPtr() { reset(); }

    // Takes over the reference a new object is created with.
    static RefPtr adopt(T* created) {
        RefPtr pointer;
        pointer.object = created;
        return pointer;
    }

    void reset() {
        if (T* old = std::exchange(object, nullptr)) old->release();
    }
    // Gives the reference up to the caller, who must release it.
    T* leak() { return std::exchange(object, nullptr); }

    T* get() const { return object; }
    T* operator->() const { return object; }
    T& operator*() const { return *object; }
    explicit operator bool() const { return object != nullptr; }

private:
    T* object = nullptr;
};

// A new counted object, owned by the returned pointer.
template <class T, class... Args>
RefPtr<T> makeRef(Args&&... args) {
    return RefPtr<T>::adopt(new T(std::forward<Args>(args)...));
}

}  // namespace XLoop
