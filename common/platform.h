#pragma once
// What the operating system gives differently on POSIX and on Windows, behind one interface:
// platform_posix.cpp and platform_win32.cpp implement it, the build picks one. Paths are
// UTF-8 on both; the Windows side hands them to the API as UTF-16.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

// The calendar time of `t` in UTC (thread-safe, unlike std::gmtime).
std::tm utcTime(std::time_t t);

// A file's size and last modification, in nanoseconds since 1970-01-01 UTC (as finely as the
// file system keeps it): what tells a changed input from the one a checkpoint was made with.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
};
// None when the file cannot be examined (missing, no permission).
std::optional<FileStamp> fileStamp(const std::string& path);

// std::fopen of a UTF-8 path (on Windows through its UTF-16 name, so Czech names open, and
// always in binary mode: the same bytes on the disk as on POSIX).
std::FILE* openFile(const std::string& path, const char* mode);
// A regular file opened for binary reading; null, errno EINVAL, for anything else (a FIFO or
// device would block or never end, a folder reads nothing), errno as the system set it when
// it cannot be opened.
std::FILE* openRegularInput(const std::string& path);

// The target of the symbolic link `path` as the link holds it (relative to the link's folder
// when it does not start at a root); none when `path` is not a link.
std::optional<std::string> symbolicLinkTarget(const std::string& path);

// What a path names, links followed.
enum class PathKind { Missing, Regular, Folder, Other };
PathKind pathKind(const std::string& path);

// Which file a path names: two paths with the same identity are one file (links, other
// spellings of the folder).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);

// Removes a file (not a folder); false, errno set, when it could not be removed.
bool removeFile(const std::string& path);
// Renames `from` over `to` in one step: a reader sees the old file or the new one, never
// none. On Windows the rename is on the disk when this returns true, and a target another
// program holds open is tried again for a few seconds.
bool replaceFile(const std::string& from, const std::string& to);
// Renames a folder to a name that does not exist yet.
bool renameFolder(const std::string& from, const std::string& to);
// Swaps the names of two folders in one step; false where the file system cannot (the
// caller then renames twice).
bool exchangeFolders(const std::string& a, const std::string& b);
// A second name `link` for the existing file `existing`; false where the file system has
// no such links (the caller copies).
bool hardLink(const std::string& existing, const std::string& link);

// Whether a path starts at a root ("/x"; on Windows also "C:/x" and a server's share) rather than
// in the current folder.
bool startsAtRoot(std::string_view path);
// True when files can be created in the folder ("" is the current folder).
bool folderWritable(const std::string& folder);
// Creates an empty unique file "<folder><prefix>XXXXXX" (folder with its separator) and
// returns its path.
std::optional<std::string> createUniqueFileIn(const std::string& folder, std::string_view prefix);

// An environment variable's value as UTF-8; none when it is not set.
std::optional<std::string> environmentValue(const char* name);
// The folder under which the user's settings are kept ($XDG_CONFIG_HOME or ~/.config;
// %APPDATA% on Windows), with its separator; none when the environment names none.
std::optional<std::string> settingsBaseFolder();
// The folder of the data files installed with the program, with its separator
// ("<bin>/../share/ovardix/"; on Windows the program's own folder); none when the program's
// path is unknown.
std::optional<std::string> installedDataFolder();

// The program's arguments after its name, as UTF-8 (on Windows read again from the wide
// command line: `argv` there is in the ANSI code page).
std::vector<std::string> programArguments(int argc, char** argv);
// Makes the console take and show UTF-8 (Windows); nothing to do on POSIX.
void useUtf8Console();

// Switches the calling thread's C library to the C locale (numbers with ".") for the scope's
// lifetime, whatever locale the process runs in.
class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    void* m_previous = nullptr;  // POSIX: the thread's locale_t before
    int m_mode = 0;              // Win32: the thread's locale mode before
    std::string m_saved;         // Win32: the thread's locale name before
};

}  // namespace ovd
