// Project bundles (see project_bundle.h).
#include "fuzz/project_bundle.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace sl::fuzz {

namespace {

constexpr std::size_t kMaxFiles = 64;
constexpr std::string_view kFolders[] = {"Config/", "Frames/",    "FramesData/", "Areas/",
                                         "Icons/",  "Inventory/", "Schemes/"};

bool AllowedName(std::string_view name) {
  std::string_view folder;
  for (std::string_view f : kFolders)
    if (name.starts_with(f)) folder = f;
  if (folder.empty()) return name == "RunFromCD.dat";
  std::string_view rest = name.substr(folder.size());
  if (folder == "Schemes/") {  // one scheme folder below
    std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos || slash == 0) return false;
    rest = rest.substr(slash + 1);
  }
  if (rest.empty() || rest.size() > 64 || rest.front() == '.') return false;
  return std::all_of(rest.begin(), rest.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == ' ' || c == '-';
  });
}

}  // namespace

std::vector<std::pair<std::string, std::string>> UnpackBundle(std::string_view bundle) {
  std::vector<std::pair<std::string, std::string>> files;
  std::size_t at = bundle.starts_with(kBundleFileMark) ? 0 : bundle.find("\n@@ ");
  while (at != std::string_view::npos && files.size() < kMaxFiles) {
    if (bundle[at] == '\n') ++at;
    std::size_t nameStart = at + kBundleFileMark.size();
    std::size_t nameEnd = bundle.find('\n', nameStart);
    if (nameEnd == std::string_view::npos) break;
    std::string_view name = bundle.substr(nameStart, nameEnd - nameStart);
    if (!name.empty() && name.back() == '\r') name.remove_suffix(1);
    std::size_t next = bundle.find("\n@@ ", nameEnd);
    std::string_view bytes = bundle.substr(
        nameEnd + 1, next == std::string_view::npos ? std::string_view::npos : next - nameEnd);
    if (AllowedName(name)) files.emplace_back(std::string(name), std::string(bytes));
    at = next;
  }
  return files;
}

bool WriteBundle(std::string_view bundle, const std::string& folder) {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  for (const auto& [name, bytes] : UnpackBundle(bundle)) {
    std::filesystem::path path = std::filesystem::path(folder) / name;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::filesystem::create_directories(folder, ec);
  return true;
}

}  // namespace sl::fuzz
