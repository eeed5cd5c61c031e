#include "support/PassThroughFileSystem.h"

namespace {

class HookedFile final : public RandomAccessFile {
public:
    HookedFile(PassThroughFileSystem& fs, std::string path, std::unique_ptr<RandomAccessFile> file)
        : fs_(fs), path_(std::move(path)), file_(std::move(file)) {}
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::size_t length) override {
        return fs_.Read(path_, *file_, offset, buffer, length);
    }
    FileIdentity Identity() override { return file_->Identity(); }

private:
    PassThroughFileSystem& fs_;
    std::string path_;
    std::unique_ptr<RandomAccessFile> file_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> PassThroughFileSystem::OpenRead(const std::string& path,
                                                                  OpenError* why) {
    auto file = NativeFileSystem().OpenRead(path, why);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<HookedFile>(*this, path, std::move(file));
}

std::int64_t PassThroughFileSystem::Read(const std::string&, RandomAccessFile& file,
                                         std::int64_t offset, void* buffer, std::size_t length) {
    return file.ReadAt(offset, buffer, length);
}
