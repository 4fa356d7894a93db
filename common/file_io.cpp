#include "file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "paths.h"

namespace ovd {

File& File::operator=(File&& o) noexcept
{
    if (this != &o) {
        close();
        m_fp = o.m_fp;
        o.m_fp = nullptr;
    }
    return *this;
}

bool File::open(const std::string& path, const char* mode)
{
    close();
    m_fp = std::fopen(path.c_str(), mode);
    return m_fp != nullptr;
}

bool File::close()
{
    if (!m_fp)
        return true;
    bool ok = std::ferror(m_fp) == 0;
    ok = (std::fclose(m_fp) == 0) && ok;
    m_fp = nullptr;
    return ok;
}

bool File::write(std::string_view bytes)
{
    return m_fp && std::fwrite(bytes.data(), 1, bytes.size(), m_fp) == bytes.size();
}

bool AtomicOutput::open(const std::string& target)
{
    discard();
    m_target = target;
    std::string pattern = target + ".ovdtmp.XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = ::mkstemp(buf.data());
    if (fd < 0)
        return false;
    // mkstemp makes the file private; give it the mode an ordinary new file would get.
    mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st;
    mode_t mode = (::stat(target.c_str(), &st) == 0) ? (st.st_mode & 07777) : (0666 & ~mask);
    ::fchmod(fd, mode);
    m_temp = buf.data();
    std::FILE* fp = ::fdopen(fd, "wb");
    if (!fp) {
        ::close(fd);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        return false;
    }
    m_file = File(fp);
    return true;
}

bool AtomicOutput::commit()
{
    if (!m_file.isOpen())
        return false;
    bool ok = std::fflush(m_file.get()) == 0;
    ok = m_file.close() && ok;
    if (ok)
        ok = std::rename(m_temp.c_str(), m_target.c_str()) == 0;
    if (!ok)
        ::unlink(m_temp.c_str());
    m_temp.clear();
    return ok;
}

void AtomicOutput::discard()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

std::optional<std::string> readFileBytes(const std::string& path)
{
    File f(path, "rb");
    if (!f)
        return std::nullopt;
    std::string out;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        out.append(buf, n);
    if (std::ferror(f.get()))
        return std::nullopt;
    return out;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicOutput out(path);
    return out.isOpen() && out.write(bytes) && out.commit();
}

bool samePath(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool copyFile(const std::string& from, const std::string& to)
{
    if (samePath(from, to))
        return true;
    auto bytes = readFileBytes(from);
    return bytes && writeFileAtomically(to, *bytes);
}

}  // namespace ovd
