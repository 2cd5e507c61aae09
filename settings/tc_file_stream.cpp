#include "settings/tc_file_stream.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "framework/tc_strings.h"
#include "platform/win32.h"

namespace {

constexpr int kLineFeed = 10;
constexpr int kCarriageReturn = 13;

}  // namespace

TCFileStream::TCFileStream(const uint8_t* folderBuffer, const TCString* fileName) {
  if (folderBuffer) {
    std::memcpy(folderBuffer_, folderBuffer, sizeof folderBuffer_);
  } else {
    std::memset(folderBuffer_, 0, sizeof folderBuffer_);
  }
  fileName_.SetString(fileName);
}

TCFileStream::~TCFileStream() { Close(); }

bool TCFileStream::BuildPath(std::string* path) const {
  TCString folder;
  PluginFolderBufferToString(folderBuffer_, &folder);
  return JoinPluginFilePath(&folder, &fileName_, path);
}

bool TCFileStream::Open(const char* mode) {
  Close();
  std::string path;
  if (!mode || !BuildPath(&path)) return false;
  file_ = PlatformOpenFile(path.c_str(), mode);
  return file_ != nullptr;
}

bool TCFileStream::Close() {
  if (!file_) return true;
  bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

TCTextFileStream::TCTextFileStream(const uint8_t* folderBuffer, const TCString* fileName)
    : TCFileStream(folderBuffer, fileName) {}

bool TCTextFileStream::OpenRead() {
  readFailed_ = false;
  errno = 0;
  bool opened = Open("rb");
  missing_ = !opened && errno == ENOENT;
  return opened;
}

bool TCTextFileStream::OpenWrite() { return Open("w+"); }

int TCTextFileStream::ReadByte() {
  if (readFailed_) return EOF;
  int byte = std::fgetc(GetFile());
  if (byte == EOF && std::ferror(GetFile())) readFailed_ = true;
  return byte;
}

void TCTextFileStream::SkipLineFeedAfterCarriageReturn() {
  int next = ReadByte();
  if (next != kLineFeed && next != EOF) std::ungetc(next, GetFile());
}

TCString* TCTextFileStream::ReadLine() {
  if (!IsOpen()) return nullptr;
  int byte = ReadByte();
  if (byte == EOF) return nullptr;
  // Collected as bytes and converted once, so that a long line costs time in
  // proportion to its length.
  std::string bytes;
  for (; byte != EOF && byte != kLineFeed; byte = ReadByte()) {
    if (byte == kCarriageReturn) {
      SkipLineFeedAfterCarriageReturn();
      break;
    }
    bytes.push_back(static_cast<char>(byte));
  }
  if (readFailed_) return nullptr;
  auto* line = new TCString;
  line->SetBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return line;
}

TCStrings* TCTextFileStream::ReadAllLines() {
  if (!IsOpen()) return nullptr;
  auto* lines = new TCStrings;
  while (TCString* line = ReadLine()) {
    line->TrimLineBreaks();
    lines->Add(line);
  }
  if (readFailed_) {
    delete lines;
    return nullptr;
  }
  return lines;
}
