// The shell's message texts in the program's 8-bit code page (GBK), with the text in a comment.
#pragma once

#include <string>

namespace tavlox::ops {

// "提示"
inline constexpr const char kPromptCaption[] = "\xCC\xE1\xCA\xBE";
// "发现有新版本，是否更新?"
inline constexpr const char kUpdatePrompt[] =
    "\xB7\xA2\xCF\xD6\xD3\xD0\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xAC\xCA\xC7\xB7\xF1\xB8\xFC\xD0\xC2?";
// "检测到你的系统没有安装QVOD播放器，可能有些影片会播放不放。"
inline constexpr const char kPlayerPromptHead[] =
    "\xBC\xEC\xB2\xE2\xB5\xBD\xC4\xE3\xB5\xC4\xCF\xB5\xCD\xB3\xC3\xBB\xD3\xD0\xB0\xB2\xD7\xB0QVOD\xB2\xA5\xB7\xC5"
    "\xC6\xF7\xA3\xAC\xBF\xC9\xC4\xDC\xD3\xD0\xD0\xA9\xD3\xB0\xC6\xAC\xBB\xE1\xB2\xA5\xB7\xC5\xB2\xBB\xB7\xC5\xA1\xA3";
// "是否下载安装QVOD播放器。"
inline constexpr const char kPlayerPromptTail[] =
    "\xCA\xC7\xB7\xF1\xCF\xC2\xD4\xD8\xB0\xB2\xD7\xB0QVOD\xB2\xA5\xB7\xC5\xC6\xF7\xA1\xA3";
// "下载QVOD播放器失败，请到QVOD官网下载."
inline constexpr const char kDownloadFailed[] =
    "\xCF\xC2\xD4\xD8QVOD\xB2\xA5\xB7\xC5\xC6\xF7\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xB5\xBDQVOD\xB9\xD9\xCD\xF8\xCF\xC2"
    "\xD4\xD8.";

// The player prompt: the first sentence, a carriage return without a line feed, 14 blanks, the
// question.
inline std::string PlayerPromptText() {
  return std::string(kPlayerPromptHead) + "\r" + std::string(14, ' ') + kPlayerPromptTail;
}

}  // namespace tavlox::ops
