#include "text.h"

#include <iconv.h>
#include <langinfo.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "resources.h"

namespace {

UINT g_codePageOverride = 0;

UINT LocaleCodePage() {
    static const UINT codePage = [] {
        std::setlocale(LC_CTYPE, "");
        const char* charset = nl_langinfo(CODESET);
        if (charset != nullptr &&
            (strcasecmp(charset, "SHIFT_JIS") == 0 || strcasecmp(charset, "SJIS") == 0 ||
             strcasecmp(charset, "CP932") == 0 || strcasecmp(charset, "WINDOWS-31J") == 0)) {
            return CP_SHIFT_JIS;
        }
        return CP_UTF8;
    }();
    return codePage;
}

}  // namespace

UINT GetACP() {
    return g_codePageOverride != 0 ? g_codePageOverride : LocaleCodePage();
}

void SetProcessCodePageForTesting(UINT codePage) {
    g_codePageOverride = codePage;
}

BOOL IsDBCSLeadByte(BYTE byte) {
    if (GetACP() != CP_SHIFT_JIS) {
        return FALSE;
    }
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool EndsWithSingleByte(std::string_view text, char ch) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        last = i;
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
    }
    return last != std::string_view::npos && last == text.size() - 1 && text[last] == ch &&
           (last == 0 || !IsDBCSLeadByte(static_cast<BYTE>(text[last])));
}

CString::CString(const char* text) {
    SetEmpty();
    if (text != nullptr) {
        Assign(text);
    }
}

CString::CString(const char* bytes, int length) {
    SetEmpty();
    Assign(std::string_view(bytes, static_cast<std::size_t>(std::max(length, 0))));
}

CString::CString(std::string_view bytes) {
    SetEmpty();
    Assign(bytes);
}

CString& CString::operator=(const char* text) {
    Assign(text != nullptr ? std::string_view(text) : std::string_view());
    return *this;
}

void CString::Free() noexcept {
    Buffer* header = Header();
    if (--header->refs == 0) {
        std::free(header);
    }
    SetEmpty();
}

bool CString::Overlaps(std::string_view bytes) const noexcept {
    auto begin = reinterpret_cast<std::uintptr_t>(m_data);
    auto at = reinterpret_cast<std::uintptr_t>(bytes.data());
    return !bytes.empty() && at >= begin && at <= begin + m_length;
}

char* CString::Reserve(std::size_t length) {
    if (IsInline() && length <= kInlineBytes) {
        return m_inline;
    }
    if (!IsInline() && Header()->refs == 1 && Header()->capacity >= length) {
        return m_data;
    }
    std::size_t keep = m_length;
    if (length <= kInlineBytes) {  // a shared buffer whose bytes now fit inside
        char bytes[kInlineBytes + 1];
        std::memcpy(bytes, m_data, keep + 1);
        Release();
        std::memcpy(m_inline, bytes, keep + 1);
        m_length = static_cast<std::uint32_t>(keep);
        return m_inline;
    }
    std::size_t capacity = std::max(length, keep + keep / 2);
    auto* fresh = static_cast<Buffer*>(std::malloc(sizeof(Buffer) + capacity + 1));
    if (fresh == nullptr) {
        throw std::bad_alloc();
    }
    fresh->refs = 1;
    fresh->capacity = capacity;
    char* data = reinterpret_cast<char*>(fresh + 1);
    std::memcpy(data, m_data, keep + 1);
    Release();
    m_data = data;
    m_length = static_cast<std::uint32_t>(keep);
    return m_data;
}

void CString::Assign(std::string_view bytes) {
    if (Overlaps(bytes)) {
        std::string copy(bytes);
        Assign(copy);
        return;
    }
    if (bytes.size() > UINT32_MAX) {
        throw std::length_error("CString");
    }
    // A buffer of its own that is large enough is reused; a shared one is let go.
    if (!IsInline() && (Header()->refs != 1 || Header()->capacity < bytes.size())) {
        Release();
    }
    m_length = 0;
    m_data[0] = '\0';
    char* data = Reserve(bytes.size());
    std::memcpy(data, bytes.data(), bytes.size());
    data[bytes.size()] = '\0';
    m_length = static_cast<std::uint32_t>(bytes.size());
}

void CString::Empty() {
    Release();
    SetEmpty();
}

void CString::Append(std::string_view tail) {
    if (tail.empty()) {
        return;
    }
    if (Overlaps(tail)) {
        std::string copy(tail);
        Append(copy);
        return;
    }
    std::size_t length = m_length;
    if (length + tail.size() > UINT32_MAX) {
        throw std::length_error("CString");
    }
    char* data = Reserve(length + tail.size());
    std::memcpy(data + length, tail.data(), tail.size());
    data[length + tail.size()] = '\0';
    m_length = static_cast<std::uint32_t>(length + tail.size());
}

CString& CString::operator+=(const CString& tail) {
    Append(tail.View());
    return *this;
}

CString& CString::operator+=(const char* tail) {
    Append(tail != nullptr ? std::string_view(tail) : std::string_view());
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(std::string_view(&ch, 1));
    return *this;
}

CString CString::Left(int count) const {
    return CString(View().substr(0, static_cast<std::size_t>(std::clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(View().substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    std::size_t at = View().find(ch, static_cast<std::size_t>(start));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    std::size_t at = View().rfind(ch);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

BOOL CString::LoadString(UINT id) {
    const char* text = FindResourceString(id);
    if (text == nullptr) {
        return FALSE;
    }
    *this = text;
    return TRUE;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b) {
    CString result(a);
    result += b;
    return result;
}

namespace {

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// Strict UTF-8: overlong forms, surrogates and values past U+10FFFF are invalid, one U+FFFD each
// for every byte that does not start a valid sequence.
std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        char32_t cp = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : (b & 0x1F);
        bool valid = extra > 0 && b <= 0xF4;
        if (valid) {
            for (int k = 1; k <= extra; ++k) {
                if (i + static_cast<std::size_t>(k) >= bytes.size()) {
                    valid = false;
                    break;
                }
                auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
                if ((c & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// One iconv conversion; a character that cannot be converted becomes the replacement.
template <class Out>
void IconvEach(const char* to, const char* from, std::string_view in, std::size_t unit,
               std::string_view replacement, Out& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return;
    }
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.append(replacement.data(), replacement.size());
            std::size_t skip = unit;
            if (unit == 0) {  // UTF-8 source: step over the whole sequence
                auto lead = static_cast<unsigned char>(*src);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            }
            skip = std::min(skip, srcLeft);
            src += skip;
            srcLeft -= skip;
        }
    }
    iconv_close(cd);
}

}  // namespace

std::u16string MultiByteToWide(std::string_view bytes) {
    if (GetACP() != CP_SHIFT_JIS) {
        return DecodeUtf8(bytes);
    }
    std::string utf8;
    IconvEach("UTF-8", "CP932", bytes, 1, "\xEF\xBF\xBD", utf8);
    return DecodeUtf8(utf8);
}

CString WideToMultiByte(std::u16string_view wide) {
    std::string utf8 = EncodeUtf8(wide);
    if (GetACP() != CP_SHIFT_JIS) {
        return CString(utf8);
    }
    std::string sjis;
    IconvEach("CP932", "UTF-8", utf8, 0, "?", sjis);
    return CString(sjis);
}
