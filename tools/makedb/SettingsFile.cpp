#include "makedb/SettingsFile.h"

#include <cstdint>
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

// 0x00BBGGRR, as the viewer stores colours.
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | g << 8 | b << 16;
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
    // Sent and received events in colour pairs of their own, so the two tell apart at a
    // glance; the selection keeps the desktop's colours.
    out << "\n[Color]\n"
        << "Send Background=" << Rgb(0xE3, 0xF0, 0xFF) << "\n"
        << "Send Text=" << Rgb(0x10, 0x2A, 0x6B) << "\n"
        << "Receive Background=" << Rgb(0xFF, 0xFA, 0xEC) << "\n"
        << "Receive Text=" << Rgb(0x3A, 0x2A, 0x10) << "\n";
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
