// A temporary folder for tests that need real files: made fresh, removed with everything in it
// when the object goes. Write() creates the folders on the way.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace sl::test {

class TempFolder {
 public:
  TempFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "storyloom-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    path_ = templ;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
  }

  // Writes bytes to a file below the folder ('/'-separated relative name).
  std::string Write(std::string_view relative, std::string_view bytes) const {
    std::filesystem::path p = std::filesystem::path(path_) / std::string(relative);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  std::string Read(std::string_view relative) const {
    std::string bytes;
    if (std::FILE* f = std::fopen((path_ + "/" + std::string(relative)).c_str(), "rb")) {
      char chunk[65536];
      std::size_t n;
      while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.append(chunk, n);
      std::fclose(f);
    }
    return bytes;
  }
  bool Exists(std::string_view relative) const {
    return std::filesystem::exists(std::filesystem::path(path_) / std::string(relative));
  }

 private:
  std::string path_;
};

}  // namespace sl::test
