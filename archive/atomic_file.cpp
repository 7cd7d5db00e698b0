#include "atomic_file.h"

#include <fstream>
#include <memory>
#include <random>
#include <system_error>

namespace tvk {
namespace {

std::filesystem::path temporary_beside(const std::filesystem::path& target) {
    std::random_device random;
    const auto suffix = std::to_string(random()) + ".tmp";
    std::filesystem::path name = target.filename();
    name += ".";
    name += suffix;
    return target.parent_path() / name;
}

}  // namespace

const FileOps& real_file_ops() {
    static const FileOps ops{
        [](const std::filesystem::path& path) -> std::unique_ptr<std::ostream> {
            return std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
        },
        [](std::ostream& stream) {
            stream.flush();
            if (auto* file = dynamic_cast<std::ofstream*>(&stream)) {
                file->close();
            }
            return !stream.fail();
        },
        [](const std::filesystem::path& from, const std::filesystem::path& to) {
            std::error_code error;
            std::filesystem::rename(from, to, error);
            return !error;
        }};
    return ops;
}

bool save_file_atomically(const std::filesystem::path& target,
                          const std::function<void(std::ostream&)>& write_contents,
                          const FileOps& ops) {
    const std::filesystem::path temporary = temporary_beside(target);
    bool written = false;
    {
        std::unique_ptr<std::ostream> stream = ops.open_output(temporary);
        if (stream && stream->good()) {
            write_contents(*stream);
            written = stream->good() && ops.finish_output(*stream);
        }
    }
    if (written && ops.replace(temporary, target)) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
}

}  // namespace tvk
