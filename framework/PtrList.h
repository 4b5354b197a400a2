// Ordered lists of object pointers over a GrowBuf: PtrList borrows its entries,
// OwnedPtrList deletes them.
#pragma once

#include "framework/GrowBuf.h"

#include <algorithm>

template <typename T>
class PtrList {
public:
    PtrList() : buf(sizeof(T*) * 8) {}

    int Count() const { return buf.Size() / static_cast<int>(sizeof(T*)); }
    T* Get(int index) const { return index >= 0 && index < Count() ? Items()[index] : nullptr; }
    bool Append(T* item) { return buf.Append(&item, sizeof(T*)); }
    bool Insert(int index, T* item)
    {
        index = std::clamp(index, 0, Count());
        if (!Append(item))
            return false;
        T** items = Items();
        std::move_backward(items + index, items + Count() - 1, items + Count());
        items[index] = item;
        return true;
    }
    // Removes entry `index`; later entries move down. Answers the removed pointer.
    T* Remove(int index)
    {
        if (index < 0 || index >= Count())
            return nullptr;
        T** items = Items();
        T* removed = items[index];
        std::move(items + index + 1, items + Count(), items + index);
        buf.Resize(buf.Size() - static_cast<int>(sizeof(T*)), true);
        return removed;
    }
    void Clear() { buf.Resize(0, true); }
    int Find(const T* item) const
    {
        for (int i = 0; i < Count(); ++i)
            if (Items()[i] == item)
                return i;
        return -1;
    }

private:
    T** Items() const { return static_cast<T**>(buf.Data()); }

    GrowBuf buf;
};

template <typename T>
class OwnedPtrList {
public:
    OwnedPtrList() = default;
    ~OwnedPtrList() { Clear(); }
    OwnedPtrList(const OwnedPtrList&) = delete;
    OwnedPtrList& operator=(const OwnedPtrList&) = delete;

    int Count() const { return list.Count(); }
    T* Get(int index) const { return list.Get(index); }
    // Takes ownership of `item`; deletes it when it cannot be stored.
    bool Append(T* item)
    {
        if (list.Append(item))
            return true;
        delete item;
        return false;
    }
    void Delete(int index) { delete list.Remove(index); }
    // Deletes the entries last to first.
    void Clear()
    {
        while (Count() > 0)
            Delete(Count() - 1);
    }

private:
    PtrList<T> list;
};
