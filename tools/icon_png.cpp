// Writes the program icon as a PNG for the desktop's icon theme. It draws from the same pixel
// rows the window uses, so the installed icon cannot drift from the program's own.
//
//   icon_png 32|16 OUTPUT.png

#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/resources/icon_data.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void AppendBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void AppendChunk(std::vector<unsigned char>& out, const char (&type)[5],
                 const std::vector<unsigned char>& data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Rows of palette indexes as hex digits, '.' for a transparent pixel. Returns the RGBA scan
// lines, each led by PNG's "no filter" byte, or an error text.
bool ScanLines(std::span<const char* const> rows, std::vector<unsigned char>& lines,
               std::string& error) {
    const std::size_t size = rows.size();
    for (std::size_t y = 0; y < size; ++y) {
        const std::string_view row = rows[y];
        if (row.size() != size) {
            error = "row " + std::to_string(y) + " is not " + std::to_string(size) + " wide";
            return false;
        }
        lines.push_back(0);
        for (const char c : row) {
            if (c == '.') {
                lines.insert(lines.end(), {0, 0, 0, 0});
                continue;
            }
            const int index = HexValue(c);
            if (index < 0) {
                error = "row " + std::to_string(y) + " holds '" + std::string(1, c) + "'";
                return false;
            }
            const unsigned int rgb = kIconPalette[static_cast<std::size_t>(index)];
            lines.insert(lines.end(), {static_cast<unsigned char>(rgb >> 16),
                                       static_cast<unsigned char>(rgb >> 8),
                                       static_cast<unsigned char>(rgb), 255});
        }
    }
    return true;
}

bool EncodePng(std::span<const char* const> rows, std::vector<unsigned char>& png,
               std::string& error) {
    std::vector<unsigned char> lines;
    if (!ScanLines(rows, lines, error)) {
        return false;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(lines.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, lines.data(), static_cast<uLong>(lines.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        error = "zlib could not compress the pixels";
        return false;
    }
    packed.resize(packedSize);

    const auto size = static_cast<std::uint32_t>(rows.size());
    std::vector<unsigned char> header;
    AppendBigEndian(header, size);
    AppendBigEndian(header, size);
    // 8 bits per channel, RGBA, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});

    png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", {});
    return true;
}

bool WriteFile(const char* path, const std::vector<unsigned char>& bytes, std::string& error) {
    File file(std::fopen(path, "wb"));
    if (!file) {
        error = std::string("cannot create ") + path + ": " + std::strerror(errno);
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s 32|16 OUTPUT.png\n", argv[0]);
        return 2;
    }
    std::span<const char* const> rows;
    const std::string_view size = argv[1];
    if (size == "32") {
        rows = kIcon32;
    } else if (size == "16") {
        rows = kIcon16;
    } else {
        std::fprintf(stderr, "%s: no icon of size %s\n", argv[0], argv[1]);
        return 2;
    }
    std::vector<unsigned char> png;
    std::string error;
    if (!EncodePng(rows, png, error) || !WriteFile(argv[2], png, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    return 0;
}
