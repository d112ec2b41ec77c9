// Writing a file so that its name always holds a whole file: the old one until the new one is
// complete on the disk, then the new one. Every file the program saves goes this way.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/rtl/Classes.h"

namespace rtl {

// A stream that writes a file in place of an old one. The bytes go to a temporary file beside
// the target, named ".feldor-<pid>-<n>-<host>.tmp", which Commit flushes to the disk and renames
// over the target; on any failure the temporary file is removed and the target stays as it was.
// A link is followed, so that the link stays and the file it points to is replaced. An existing
// file's permissions hold for the temporary file from its creation on; its group carries over
// where the saver is a member of it, its owner where the system allows. A second hard link to
// the old file keeps the old content (the rename gives the name a new file). A target that is a
// device or a pipe is written directly (a pipe without a reader is refused at once instead of
// waiting for one).
//
// The temporary file is locked (an open-file-description lock over the whole file) from its
// creation until it has replaced the target or is removed. Opening also removes the program's
// temporary files beside the target that a killed save left: a file whose lock it can take and
// that looks abandoned, i.e. its process on this computer no longer runs or nobody has written
// to it for an hour. A locked file is never removed, wherever its save runs.
class TReplacingFileStream : public TStream {
public:
    // EFCreateError "Datei <FileName> kann nicht erstellt werden. <reason>": the folder is
    // missing or may not be written, the name is a folder, the file may not be written.
    explicit TReplacingFileStream(const std::string& FileName);
    ~TReplacingFileStream() override;  // without Commit the temporary file is removed
    TReplacingFileStream(const TReplacingFileStream&) = delete;
    TReplacingFileStream& operator=(const TReplacingFileStream&) = delete;

    long long Read(void* buffer, long long count) override;
    long long Write(const void* buffer, long long count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    // The name the caller gave, which every message shows.
    const std::string& FileName() const { return shownName_; }

    // Flush, then Replace. A failure raises EWriteError "Datei <FileName> kann nicht
    // geschrieben werden. <reason>"; the target then stays as it was.
    void Commit();
    // The written bytes on the disk with the old file's permissions, the temporary file still
    // open and locked; nothing is replaced yet.
    void Flush();
    // The flushed temporary file takes the target's place.
    void Replace();

protected:
    [[noreturn]] void RaiseWriteError() override;

private:
    [[noreturn]] void Fail(int err);
    void Discard() noexcept;

    std::string shownName_;
    std::string target_;  // the file replaced: the given name with its links followed
    std::string temp_;    // empty when the target is written directly
    int fd_ = -1;
    int writeError_ = 0;  // errno of the last write that fell short
    bool keepAttributes_ = false;
    unsigned mode_ = 0;
    unsigned uid_ = 0;
    unsigned gid_ = 0;
    bool flushed_ = false;
    bool replaced_ = false;
};

// Bytes saved as FileName through a TReplacingFileStream.
void SaveFileReplacing(const std::string& FileName, std::string_view Bytes);

// The files of one save: every one is flushed before the first replaces its target, so that a
// full disk or any other write failure leaves all the old files as they were.
void CommitTogether(std::span<TReplacingFileStream* const> Files);

}  // namespace rtl
