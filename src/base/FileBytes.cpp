#include "base/FileBytes.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestu {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
std::wstring WidePath(const std::string& path) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
  std::wstring wide(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), length);
  return wide;
}
#endif

File OpenForReading(const std::string& path) {
#ifdef _WIN32
  return File(_wfopen(WidePath(path).c_str(), L"rb"));
#else
  return File(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
#ifdef _WIN32
  struct _stat64 info {};
  return _wstat64(WidePath(path).c_str(), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

std::vector<unsigned char> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  const File file = OpenForReading(path);
  if (!file) throw std::runtime_error("Cannot open file \"" + path + "\"");
  std::vector<unsigned char> bytes;
  constexpr std::size_t kChunk = std::size_t(1) << 16;
  for (;;) {
    const std::size_t have = bytes.size();
    if (have > maxBytes) throw std::runtime_error("File \"" + path + "\" is too large");
    bytes.resize(have + kChunk);
    const std::size_t got = std::fread(bytes.data() + have, 1, kChunk, file.get());
    bytes.resize(have + got);
    if (got < kChunk) break;
  }
  if (std::ferror(file.get())) throw std::runtime_error("Cannot read file \"" + path + "\"");
  if (bytes.size() > maxBytes) throw std::runtime_error("File \"" + path + "\" is too large");
  return bytes;
}

}  // namespace kestu
