#pragma once
// The version block of the executable.

inline constexpr unsigned kFileVersion[4] = {1, 0, 0, 1};
inline constexpr const char* kFileVersionText = "1, 0, 0, 1";
inline constexpr const char* kProductVersionText = "1, 0, 0, 1";
inline constexpr const char* kFileDescription = "Filvanta MFC ｱﾌﾟﾘｹｰｼｮﾝ";
inline constexpr const char* kInternalName = "Filvanta";
inline constexpr const char* kOriginalFilename = "Filvanta.EXE";
inline constexpr const char* kProductName = "Filvanta ｱﾌﾟﾘｹｰｼｮﾝ";
inline constexpr const char* kCompanyName = "";
inline constexpr const char* kLegalTrademarks = "";
inline constexpr const char* kLegalCopyright = "Copyright (C) 2026 Filvanta";
inline constexpr unsigned kVersionLanguage = 0x0411;
inline constexpr unsigned kVersionCodePage = 0x04B0;
