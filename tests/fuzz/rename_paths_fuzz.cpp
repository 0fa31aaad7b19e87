// The paths of one rename, whatever the folder text, prefix and file name: the old path is the
// folder path and the name; the new path is the folder path, the prefix, the number and the
// name's own extension; the folder path ends in one separator of its own.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "rename/naming_rule.h"

namespace {

// From the last "." character to the end, ASCII capitals lowered for setting 1 only.
std::string ReferenceExtension(std::string_view name, int lowerCaseSetting, UINT codePage) {
    const std::vector<std::string_view> characters = Characters(name, codePage);
    std::size_t dot = characters.size();
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] == ".") {
            dot = i;
        }
    }
    std::string extension;
    for (std::size_t i = dot; i < characters.size(); ++i) {
        char c = characters[i][0];
        if (lowerCaseSetting == 1 && characters[i].size() == 1 && c >= 'A' && c <= 'Z') {
            extension += static_cast<char>(c - 'A' + 'a');
        } else {
            extension += characters[i];
        }
    }
    return extension;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const UINT codePage = data.ConsumeBool() ? CP_SHIFT_JIS : CP_UTF8;
    const CodePageScope scope(codePage);
    const int lowerCaseSetting = data.ConsumeBool() ? 1 : data.ConsumeIntegral<int>();
    const int width = data.ConsumeIntegralInRange<int>(0, 40);
    const int value = data.ConsumeIntegral<int>();
    const std::string folderText = data.ConsumeRandomLengthString(300);
    const std::string prefix = data.ConsumeRandomLengthString(100);
    const std::string name = data.ConsumeRemainingBytesAsString();

    const std::vector<std::string_view> folderCharacters = Characters(folderText, codePage);
    const bool endsInSeparator = !folderCharacters.empty() && folderCharacters.back() == "\\";
    const CString folderPath = MakeFolderPath(CString(std::string_view(folderText)));
    const std::string expectedFolder = endsInSeparator ? folderText : folderText + "\\";
    Require(folderPath.View() == expectedFolder, "MakeFolderPath", folderPath.View(),
            expectedFolder);
    // A text that ends in a lone lead byte takes the separator as that byte's second half.
    const bool endsInLoneLead =
        !folderCharacters.empty() && folderCharacters.back().size() == 1 &&
        codePage == CP_SHIFT_JIS &&
        fuzz_detail::IsShiftJisLead(static_cast<unsigned char>(folderCharacters.back()[0]));
    if (!endsInLoneLead) {
        Require(Characters(folderPath.View(), codePage).back() == "\\",
                "the folder path ends in a single-byte separator", folderPath.View());
    }

    const CString extension = GetExtension(CString(std::string_view(name)), lowerCaseSetting);
    const std::string expectedExtension = ReferenceExtension(name, lowerCaseSetting, codePage);
    Require(extension.View() == expectedExtension, "GetExtension", extension.View(),
            expectedExtension);

    const RenamePaths paths =
        MakeRenamePaths(folderPath, CString(std::string_view(prefix)), width, value,
                        CString(std::string_view(name)), lowerCaseSetting);
    const std::string expectedOld = std::string(folderPath.View()) + name;
    Require(paths.oldPath.View() == expectedOld, "old path", paths.oldPath.View(), expectedOld);
    const std::string expectedNew = std::string(folderPath.View()) + prefix +
                                    std::string(FormatNumber(value, width).View()) +
                                    expectedExtension;
    Require(paths.newPath.View() == expectedNew, "new path", paths.newPath.View(), expectedNew);
    return 0;
}
