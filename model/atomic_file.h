// Writing a file so that readers see either the old contents or the new, never half of it:
// the bytes go to a temporary file in the same folder, which then replaces the target.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace kettrik {

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // an uncommitted write is abandoned and its temporary file removed

    // Creates the temporary file beside the target (a symbolic link is followed, so the
    // file it points at is replaced): the target's name + ".tmp-" + random digits, created
    // exclusively. False when it cannot be created.
    bool Open(const std::string& targetPath);
    // Buffered; a failure is remembered and reported by Commit.
    void Write(const void* data, std::size_t size);
    void Write(std::string_view text) { Write(text.data(), text.size()); }
    // Flushes, closes and renames over the target, which keeps an existing target's
    // permissions. False if anything failed (or Open did not succeed); the target is then
    // unchanged and the temporary file removed.
    bool Commit();
    void Abandon();

private:
    void FlushPending();

    std::FILE* file_ = nullptr;
    std::string pending_; // written in large blocks
    std::string targetPath_;
    std::string tempPath_;
    bool failed_ = false;
};

// The whole file in one go.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

} // namespace kettrik
