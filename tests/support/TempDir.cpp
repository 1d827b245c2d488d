// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testing_support {

TempDir::TempDir()
{
    // tmpfs where there is one: tests run faster and leave the disk alone.
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/morvik-test-XXXXXX";
    if (!::mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::Mp3(const std::string& name, const std::string& record, mode_t mode, std::size_t audio) const
{
    const std::string path = Write(name, Audio(audio) + record);
    SetMode(path, mode);
    return path;
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = path_ + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TempDir::MakeFolder(const std::string& name) const
{
    fs::create_directories(path_ + name);
    return path_ + name + "/";
}

StateHome::StateHome()
{
    if (const char* value = std::getenv("XDG_STATE_HOME"))
        previous_ = value;
    ::setenv("XDG_STATE_HOME", dir_.Path().c_str(), 1);
}

StateHome::~StateHome()
{
    if (previous_)
        ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw std::runtime_error("stat failed: " + path);
    return st.st_mode & 07777;
}

void SetMode(const std::string& path, mode_t mode)
{
    if (::chmod(path.c_str(), mode) != 0)
        throw std::runtime_error("chmod failed: " + path);
}

std::uint64_t SizeOf(const std::string& path)
{
    return fs::file_size(path);
}

std::string LastRecord(const std::string& path)
{
    const std::string all = ReadFile(path);
    return all.size() < 128 ? std::string() : all.substr(all.size() - 128);
}

static std::string Field(const std::string& value, std::size_t width)
{
    std::string f = value.substr(0, width);
    f.resize(width, '\0');
    return f;
}

std::string TagBytes(const std::string& title, const std::string& artist, const std::string& album,
                     const std::string& year, const std::string& comment, std::uint8_t genre)
{
    std::string r = "TAG" + Field(title, 30) + Field(artist, 30) + Field(album, 30) + Field(year, 4)
        + Field(comment, 30);
    r.push_back(static_cast<char>(genre));
    return r;
}

std::string Audio(std::size_t n)
{
    std::string a(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        a[i] = static_cast<char>(0x80 + (i * 7) % 64); // never 'T', 'A' or 'G'
    return a;
}

} // namespace testing_support
