#pragma once
// Text as the program sees it: byte strings in the process's multibyte code page.

#include <cstddef>
#include <string>
#include <string_view>

#include "win_types.h"

inline constexpr UINT CP_UTF8 = 65001;
inline constexpr UINT CP_SHIFT_JIS = 932;

// The process code page: 932 when the locale's character set is Shift_JIS/CP932, else UTF-8.
UINT GetACP();
// Tests of the double-byte rules choose the code page; 0 goes back to the locale's.
void SetProcessCodePageForTesting(UINT codePage);
BOOL IsDBCSLeadByte(BYTE byte);

// A reference-counted byte string. Copies share one buffer until one of them is changed, so
// rows, fields and callbacks pass texts around without copying bytes.
class CString {
public:
    CString() noexcept : m_data(EmptyData()) {}
    CString(const char* text);  // NOLINT: converts like the platform's string
    CString(const char* bytes, int length);
    CString(std::string_view bytes);  // NOLINT
    // Copies, moves and the destructor are inline: rows, sorts and the view pass texts by value.
    CString(const CString& other) noexcept : m_data(other.m_data) { AddRef(); }
    CString(CString&& other) noexcept : m_data(other.m_data) { other.m_data = EmptyData(); }
    CString& operator=(const CString& other) noexcept {
        if (m_data != other.m_data) {
            Release();
            m_data = other.m_data;
            AddRef();
        }
        return *this;
    }
    CString& operator=(CString&& other) noexcept {
        if (this != &other) {
            Release();
            m_data = other.m_data;
            other.m_data = EmptyData();
        }
        return *this;
    }
    CString& operator=(const char* text);
    ~CString() { Release(); }

    int GetLength() const noexcept { return static_cast<int>(Header()->length); }
    bool IsEmpty() const noexcept { return Header()->length == 0; }
    void Empty();
    const char* GetString() const noexcept { return m_data; }
    operator const char*() const noexcept { return m_data; }  // NOLINT
    std::string_view View() const noexcept { return {m_data, Header()->length}; }
    char GetAt(int index) const { return m_data[index]; }
    char operator[](int index) const { return m_data[index]; }

    CString& operator+=(const CString& tail);
    CString& operator+=(const char* tail);
    CString& operator+=(char ch);
    void Append(std::string_view tail);

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Find(char ch, int start = 0) const;
    int ReverseFind(char ch) const;

    // Resource strings come from the program's string table.
    BOOL LoadString(UINT id);

    friend bool operator==(const CString& a, const CString& b) noexcept {
        return a.View() == b.View();
    }
    friend bool operator==(const CString& a, const char* b) noexcept {
        return a.View() == std::string_view(b);
    }
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const CString& a, char b);

private:
    struct Buffer {
        std::size_t refs;
        std::size_t length;
        std::size_t capacity;
    };
    Buffer* Header() const noexcept { return reinterpret_cast<Buffer*>(m_data) - 1; }
    // Every empty string shares one buffer, which is never freed or written.
    static char* EmptyData() noexcept { return s_empty.data; }
    void AddRef() noexcept {
        if (m_data != EmptyData()) {
            ++Header()->refs;
        }
    }
    void Release() noexcept {
        if (m_data != EmptyData()) {
            Free();
        }
    }
    void Free() noexcept;  // drops this string's reference to a buffer of its own
    void Assign(std::string_view bytes);
    char* Reserve(std::size_t length);  // unshared buffer of at least length bytes, old bytes kept

    struct EmptyBuffer {
        Buffer header{1, 0, 0};
        char data[1] = {0};
    };
    static EmptyBuffer s_empty;

    char* m_data;
};

// Conversion at the widget boundary. Bytes that are not valid in the code page become U+FFFD.
std::u16string MultiByteToWide(std::string_view bytes);
CString WideToMultiByte(std::u16string_view wide);

// The last whole character of a text is the single byte ch (lead bytes taken into account).
bool EndsWithSingleByte(std::string_view text, char ch);
