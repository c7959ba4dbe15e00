// The shell's own texts in the ANSI code page 936 (GBK); the Chinese original is in each comment.
#pragma once

namespace tavlox::app::texts {

inline constexpr char kApplicationTitle[] = "\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0\xd4\xba";  // 栎岚电影院
inline constexpr char kMainCaption[] =
    "\xd7\xc0\xc3\xe6\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0\xd4\xba" "V 1.0";  // 桌面栎岚电影院V 1.0
inline constexpr char kStatusPanel1[] = " \xd7\xc0\xc3\xe6\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0\xd4\xba";  // " 桌面栎岚电影院"
inline constexpr char kStatusPanel2Hint[] = " \xb4\xf2\xbf\xaa\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0";  // " 打开栎岚电影"
inline constexpr char kPrompt[] = "\xcc\xe1\xca\xbe";  // 提示
inline constexpr char kAboutCaption[] = "\xe8\xdd\xe1\xb0\xd7\xc0\xc3\xe6\xb5\xe7\xd3\xb0\xd4\xba";  // 栎岚桌面电影院
inline constexpr char kVersion[] = "\xb0\xe6\xb1\xbe:1.0";                                          // 版本:1.0
inline constexpr char kVisitHint[] = "\xb7\xc3\xce\xca\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0";          // 访问栎岚电影
inline constexpr char kOkButton[] = "\xc8\xb7\xb6\xa8(&O)";                                         // 确定(&O)
inline constexpr char kSettingCaption[] = "\xb2\xa5\xb7\xc5\xc6\xf7\xc9\xe8\xd6\xc3";             // 播放器设置
inline constexpr char kSettingGroup[] = "\xd1\xa1\xcf\xee\xc9\xe8\xd6\xc3";                        // 选项设置
inline constexpr char kDownloadCaption[] = "\xcf\xc2\xd4\xd8" "QVOD\xb2\xa5\xb7\xc5\xc6\xf7";      // 下载QVOD播放器
inline constexpr char kDownloading[] = "\xd5\xfd\xd4\xda\xcf\xc2\xd4\xd8" "QVOD\xb2\xa5\xb7\xc5\xc6\xf7";  // 正在下载QVOD播放器

}  // namespace tavlox::app::texts
