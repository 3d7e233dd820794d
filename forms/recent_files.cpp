#include "forms/recent_files.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <filesystem>

namespace {

constexpr const char* kSettingsKey = "Files/Recent";

QSettings UserSettings() {
    const QString org = QCoreApplication::organizationName();
    return QSettings(org.isEmpty() ? QStringLiteral("KVN") : org, QStringLiteral("KVN"));
}

}  // namespace

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& file,
                                        std::size_t limit) {
    files = WithoutRecentFile(std::move(files), file);
    files.insert(files.begin(), file);
    if (files.size() > limit) files.resize(limit);
    return files;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& file) {
    files.erase(std::remove(files.begin(), files.end(), file), files.end());
    return files;
}

std::string RecentFileCaption(std::size_t index, const std::string& file) {
    // Items 1 to 9 take their digit as mnemonic.
    const std::string number = std::to_string(index + 1);
    const std::string mark = index < 9 ? "&" : "";
    std::string name = std::filesystem::path(file).filename().string();
    // An ampersand of the name is shown, not taken as a mnemonic.
    std::string shown;
    for (char c : name) {
        if (c == '&') shown += '&';
        shown += c;
    }
    return mark + number + " " + shown;
}

std::vector<std::string> LoadRecentFiles() {
    std::vector<std::string> files;
    for (const QString& f : UserSettings().value(kSettingsKey).toStringList())
        if (!f.isEmpty() && files.size() < kRecentFileCount) files.push_back(f.toStdString());
    return files;
}

void StoreRecentFiles(const std::vector<std::string>& files) {
    QStringList list;
    for (const std::string& f : files) list << QString::fromStdString(f);
    UserSettings().setValue(kSettingsKey, list);
}
