#include "makedb/SettingsFile.h"

#include <filesystem>
#include <fstream>

namespace {

std::string Absolute(const std::string& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(path, ignored);
    std::string result = absolute.empty() ? path : absolute.lexically_normal().string();
    if (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result;
}

}  // namespace

bool WriteViewerSettings(const std::string& path, const ViewerSettings& settings,
                         std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "[Log File]\n";
    if (!settings.folder.empty()) {
        out << "Location=0\n"
            << "DB Path=" << Absolute(settings.folder) << "\n"
            << "UIN=" << settings.uin << "\n";
    } else {
        out << "Location=1\n"
            << "UIN=0\n"
            << "MsgIdx File=" << Absolute(settings.indexPath) << "\n"
            << "MsgDat File=" << Absolute(settings.dataPath) << "\n";
    }
    out << "\n[Member Name]\n";
    for (const auto& [key, name] : settings.names) {
        out << key << "=" << name << "\n";
    }
    out.close();
    if (!out) {
        error = path + ": cannot write the settings file";
        return false;
    }
    return true;
}
