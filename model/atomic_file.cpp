#include "model/atomic_file.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace kettrik {

namespace {

constexpr std::size_t BlockBytes = 1u << 20;

// The file a path finally names, so that a link is kept and its target replaced.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            break;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) {
            break;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current;
}

std::string RandomDigits() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    return std::to_string(generator() % 1000000000000ull);
}

} // namespace

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

bool AtomicFileWriter::Open(const std::string& targetPath) {
    Abandon();
    failed_ = false;
    targetPath_ = FollowLinks(targetPath).string();
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string candidate = targetPath_ + ".tmp-" + RandomDigits();
        file_ = std::fopen(candidate.c_str(), "wbx");
        if (file_ != nullptr) {
            tempPath_ = std::move(candidate);
            return true;
        }
    }
    return false;
}

void AtomicFileWriter::FlushPending() {
    if (pending_.empty()) {
        return;
    }
    if (file_ == nullptr ||
        std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        failed_ = true;
    }
    pending_.clear();
}

void AtomicFileWriter::Write(const void* data, std::size_t size) {
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    if (size >= BlockBytes) {
        FlushPending();
        if (std::fwrite(data, 1, size, file_) != size) {
            failed_ = true;
        }
        return;
    }
    pending_.append(static_cast<const char*>(data), size);
    if (pending_.size() >= BlockBytes) {
        FlushPending();
    }
}

bool AtomicFileWriter::Commit() {
    if (file_ == nullptr) {
        return false;
    }
    FlushPending();
    if (std::fflush(file_) != 0) {
        failed_ = true;
    }
    if (std::fclose(file_) != 0) {
        failed_ = true;
    }
    file_ = nullptr;
    std::error_code error;
    if (!failed_) {
        std::error_code statusError;
        const std::filesystem::file_status existing =
            std::filesystem::status(targetPath_, statusError);
        if (!statusError && std::filesystem::exists(existing)) {
            std::filesystem::permissions(tempPath_, existing.permissions(),
                                         std::filesystem::perm_options::replace, error);
            failed_ = static_cast<bool>(error);
        }
    }
    if (!failed_) {
        std::filesystem::rename(tempPath_, targetPath_, error);
        failed_ = static_cast<bool>(error);
    }
    if (failed_) {
        std::filesystem::remove(tempPath_, error);
    }
    tempPath_.clear();
    return !failed_;
}

void AtomicFileWriter::Abandon() {
    pending_.clear();
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(tempPath_, ignored);
        tempPath_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) {
        return false;
    }
    writer.Write(contents);
    return writer.Commit();
}

} // namespace kettrik
