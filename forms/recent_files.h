// The recent coil files of the File menu: the last files opened or written,
// newest first, remembered between sessions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr std::size_t kRecentFileCount = 8;

// `files` with `file` moved (or added) to the front, at most `limit` long.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& file,
                                        std::size_t limit = kRecentFileCount);
// `files` without `file`.
std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& file);
// The menu item of the recent file at `index` (0-based): "&1 list1.kvn",
// the file's name without its folder.
std::string RecentFileCaption(std::size_t index, const std::string& file);

// The list kept in the user's settings.
std::vector<std::string> LoadRecentFiles();
void StoreRecentFiles(const std::vector<std::string>& files);
