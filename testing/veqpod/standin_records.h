// What the stand-in keeps. Its Windows build carries no C or C++ runtime (as
// a library in Microsoft's ABI must not share ours), so it keeps its records
// in these small containers instead of the standard library's.
#pragma once

namespace veqpod {

inline bool sameText(const char* a, const char* b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// An owned copy of a text; null copies as the empty text.
class Text {
public:
    Text() = default;
    explicit Text(const char* text) { assign(text); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { delete[] bytes; }

    void assign(const char* text) {
        if (text == nullptr) text = "";
        unsigned long length = 0;
        while (text[length] != 0) ++length;
        char* copy = new char[length + 1];
        for (unsigned long i = 0; i <= length; ++i) copy[i] = text[i];
        delete[] bytes;
        bytes = copy;
    }
    const char* c_str() const { return bytes != nullptr ? bytes : ""; }

private:
    char* bytes = nullptr;
};

// A growable list of owned items, in insertion order.
template <class Item>
class List {
public:
    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() {
        clear();
        delete[] items;
    }

    Item* add(Item* item) {
        if (count == capacity) {
            capacity = capacity == 0 ? 8 : capacity * 2;
            Item** grown = new Item*[capacity];
            for (int i = 0; i < count; ++i) grown[i] = items[i];
            delete[] items;
            items = grown;
        }
        items[count++] = item;
        return item;
    }
    // Gives the item back to the caller, who then owns it.
    Item* takeAt(int index) {
        Item* item = items[index];
        for (int i = index + 1; i < count; ++i) items[i - 1] = items[i];
        --count;
        return item;
    }
    void clear() {
        while (count > 0) delete items[--count];
    }
    int size() const { return count; }
    Item* at(int index) const { return index >= 0 && index < count ? items[index] : nullptr; }

private:
    Item** items = nullptr;
    int count = 0;
    int capacity = 0;
};

// True on a sound heap; the Windows build asks the process heap.
bool heapIsValid();

// Copies the environment variable's text into buffer (size bytes, ending in
// a zero); false when it is not set or does not fit.
bool environmentText(const char* name, char* buffer, int size);

// Runs body(context) on count threads of the library's own at once and waits
// for them all.
void runOnOwnThreads(void (*body)(void*), void* context, int count);

}  // namespace veqpod
