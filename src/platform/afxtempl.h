#pragma once
// The platform's growable array, as far as the program uses it.

#include <vector>

template <class T, class ArgT = const T&>
class CArray {
public:
    int Add(ArgT element) {
        m_elements.push_back(element);
        return static_cast<int>(m_elements.size()) - 1;
    }
    int GetSize() const { return static_cast<int>(m_elements.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    T GetAt(int index) const { return m_elements[static_cast<std::size_t>(index)]; }
    T& operator[](int index) { return m_elements[static_cast<std::size_t>(index)]; }
    void RemoveAll() { m_elements.clear(); }

private:
    std::vector<T> m_elements;
};
