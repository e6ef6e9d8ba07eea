// A game project packed into one file, for the project fuzzer and its seed corpus: each file
// of the project starts with a line "@@ " + its name relative to the project folder ("@@
// Config/General"), and its bytes follow up to the next such line. Names are checked against
// the project's folders and a plain file-name alphabet, so no input can write elsewhere.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sl::fuzz {

constexpr std::string_view kBundleFileMark = "@@ ";

// The files of a bundle: (name, bytes), in order; lines before the first mark and files with
// names that are not allowed are dropped.
std::vector<std::pair<std::string, std::string>> UnpackBundle(std::string_view bundle);

// Writes the files of a bundle into `folder` (which is emptied first); false on a write error.
bool WriteBundle(std::string_view bundle, const std::string& folder);

}  // namespace sl::fuzz
