#pragma once
// Text as the program sees it: byte strings in the process's multibyte code page.

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// A byte string. Short texts (most file names, every time text) are held inside the object;
// longer ones in a reference-counted buffer that copies share until one of them is changed. So
// rows, fields and the sort's callback pass texts by value without allocating or copying bytes,
// and a row's texts sit next to the row itself.
class CString {
public:
    CString() noexcept { SetEmpty(); }
    CString(const char* text);  // NOLINT: converts like the platform's string
    CString(const char* bytes, int length);
    CString(std::string_view bytes);  // NOLINT
    CString(const CString& other) noexcept { CopyFrom(other); }
    CString(CString&& other) noexcept { MoveFrom(other); }
    CString& operator=(const CString& other) noexcept {
        if (this != &other) {
            Release();
            CopyFrom(other);
        }
        return *this;
    }
    CString& operator=(CString&& other) noexcept {
        if (this != &other) {
            Release();
            MoveFrom(other);
        }
        return *this;
    }
    CString& operator=(const char* text);
    ~CString() { Release(); }

    int GetLength() const noexcept { return static_cast<int>(m_length); }
    bool IsEmpty() const noexcept { return m_length == 0; }
    void Empty();
    const char* GetString() const noexcept { return m_data; }
    operator const char*() const noexcept { return m_data; }  // NOLINT
    std::string_view View() const noexcept { return {m_data, m_length}; }
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
    static constexpr std::size_t kInlineBytes = 19;  // without the terminating NUL

    struct Buffer {
        std::size_t refs;
        std::size_t capacity;
    };
    bool IsInline() const noexcept { return m_data == m_inline; }
    Buffer* Header() const noexcept { return reinterpret_cast<Buffer*>(m_data) - 1; }
    void SetEmpty() noexcept {
        m_data = m_inline;
        m_length = 0;
        m_inline[0] = '\0';
    }
    void CopyFrom(const CString& other) noexcept {
        m_length = other.m_length;
        if (other.IsInline()) {
            std::memcpy(m_inline, other.m_inline, sizeof m_inline);
            m_data = m_inline;
        } else {
            m_data = other.m_data;
            ++Header()->refs;
        }
    }
    // Takes the other's buffer without touching its count; the other is left empty.
    void MoveFrom(CString& other) noexcept {
        if (other.IsInline()) {
            CopyFrom(other);
        } else {
            m_length = other.m_length;
            m_data = other.m_data;
        }
        other.SetEmpty();
    }
    void Release() noexcept {
        if (!IsInline()) {
            Free();
        }
    }
    void Free() noexcept;  // drops this string's reference to its buffer; leaves it empty
    void Assign(std::string_view bytes);
    // An unshared place for at least length bytes and a NUL, the current bytes kept.
    char* Reserve(std::size_t length);
    bool Overlaps(std::string_view bytes) const noexcept;

    char* m_data;  // m_inline, or the bytes of a shared buffer
    std::uint32_t m_length;
    char m_inline[kInlineBytes + 1];
};

// Conversion at the widget boundary. Bytes that are not valid in the code page become U+FFFD.
std::u16string MultiByteToWide(std::string_view bytes);
CString WideToMultiByte(std::u16string_view wide);

// The last whole character of a text is the single byte ch (lead bytes taken into account).
bool EndsWithSingleByte(std::string_view text, char ch);
