#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tvk::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    std::vector<std::string> file_names() const;  // sorted

  private:
    std::filesystem::path m_path;
};

// The names of the files in `folder`, sorted.
std::vector<std::string> file_names(const std::filesystem::path& folder);
std::string read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const std::string& contents);

}  // namespace tvk::test
