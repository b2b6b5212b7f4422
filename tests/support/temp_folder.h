#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <random>
#include <string>

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("halyard-test-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the program passes folders around: a wide string ending in a separator.
    std::wstring folder() const {
        return path_.wstring() + static_cast<wchar_t>(std::filesystem::path::preferred_separator);
    }
    std::wstring file(const std::wstring& name) const { return folder() + name; }

private:
    std::filesystem::path path_;
};
