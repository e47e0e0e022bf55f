// The framework's growable arrays over std::vector, with the members the
// system uses. Indexes are int; an index outside the array is a programming
// error and is caught by assert in debug builds.
#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

#include <quillon/platform/CString.h>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    virtual ~CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;
    CArray(CArray&&) noexcept = default;
    CArray& operator=(CArray&&) noexcept = default;

    int GetSize() const { return static_cast<int>(m_v.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_v.empty(); }

    // growBy is accepted for compatibility; std::vector decides its growth.
    void SetSize(int newSize, int growBy = -1) {
        (void)growBy;
        m_v.resize(newSize < 0 ? 0 : static_cast<std::size_t>(newSize));
    }
    void FreeExtra() { m_v.shrink_to_fit(); }
    void RemoveAll() { m_v.clear(); }

    const TYPE& GetAt(int i) const { return m_v[Checked(i)]; }
    TYPE& GetAt(int i) { return m_v[Checked(i)]; }
    TYPE& ElementAt(int i) { return m_v[Checked(i)]; }
    void SetAt(int i, ARG_TYPE value) { m_v[Checked(i)] = value; }
    const TYPE& operator[](int i) const { return m_v[Checked(i)]; }
    TYPE& operator[](int i) { return m_v[Checked(i)]; }
    const TYPE* GetData() const { return m_v.data(); }
    TYPE* GetData() { return m_v.data(); }

    // Sets the element, growing the array when i is past the end.
    void SetAtGrow(int i, ARG_TYPE value) {
        assert(i >= 0);
        if (i >= GetSize()) SetSize(i + 1);
        m_v[static_cast<std::size_t>(i)] = value;
    }
    int Add(ARG_TYPE value) {
        m_v.push_back(value);
        return GetUpperBound();
    }
    int Append(const CArray& other) {
        int first = GetSize();
        m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end());
        return first;
    }
    void Copy(const CArray& other) { m_v = other.m_v; }

    // Inserting past the end grows the array first, as the framework does.
    void InsertAt(int i, ARG_TYPE value, int count = 1) {
        assert(i >= 0 && count >= 0);
        if (i > GetSize()) SetSize(i);
        m_v.insert(m_v.begin() + i, static_cast<std::size_t>(count), value);
    }
    void RemoveAt(int i, int count = 1) {
        assert(i >= 0 && count >= 0 && i + count <= GetSize());
        m_v.erase(m_v.begin() + i, m_v.begin() + i + count);
    }

    typename std::vector<TYPE>::iterator begin() { return m_v.begin(); }
    typename std::vector<TYPE>::iterator end() { return m_v.end(); }
    typename std::vector<TYPE>::const_iterator begin() const { return m_v.begin(); }
    typename std::vector<TYPE>::const_iterator end() const { return m_v.end(); }

private:
    std::size_t Checked(int i) const {
        assert(i >= 0 && i < GetSize());
        return static_cast<std::size_t>(i);
    }
    std::vector<TYPE> m_v;
};

class CStringArray : public CArray<CString, const CString&> {};
class CPtrArray : public CArray<void*, void*> {};
class CUIntArray : public CArray<UINT, UINT> {};

// A pointer array that hands out typed pointers.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int i) const { return static_cast<TYPE>(BASE_CLASS::GetAt(i)); }
    TYPE& ElementAt(int i) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(i)); }
    void SetAt(int i, TYPE p) { BASE_CLASS::SetAt(i, p); }
    void SetAtGrow(int i, TYPE p) { BASE_CLASS::SetAtGrow(i, p); }
    int Add(TYPE p) { return BASE_CLASS::Add(p); }
    void InsertAt(int i, TYPE p, int count = 1) { BASE_CLASS::InsertAt(i, p, count); }
    TYPE operator[](int i) const { return GetAt(i); }
};
