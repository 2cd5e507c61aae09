#include "settings/tc_file_stream.h"

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
  bytesRead_ = 0;
  exceededReadLimit_ = false;
  return Open("r");
}

bool TCTextFileStream::OpenWrite() { return Open("w+"); }

int TCTextFileStream::ReadByte() {
  if (exceededReadLimit_) return EOF;
  int byte = std::fgetc(GetFile());
  if (byte == EOF) return EOF;
  if (++bytesRead_ > kMaxReadBytes) {
    exceededReadLimit_ = true;
    return EOF;
  }
  return byte;
}

TCString* TCTextFileStream::ReadLine() {
  if (!IsOpen()) return nullptr;
  int byte = ReadByte();
  if (byte == EOF) return nullptr;
  auto* line = new TCString;
  for (; byte != EOF && byte != kLineFeed; byte = ReadByte()) {
    if (byte == kCarriageReturn) {
      int next = ReadByte();
      if (next != kLineFeed && next != EOF) {
        std::ungetc(next, GetFile());
        --bytesRead_;
      }
      break;
    }
    line->AppendCharacter(static_cast<char16_t>(byte));
  }
  if (exceededReadLimit_) {
    delete line;
    return nullptr;
  }
  return line;
}

TCStrings* TCTextFileStream::ReadAllLines() {
  if (!IsOpen()) return nullptr;
  auto* lines = new TCStrings;
  while (TCString* line = ReadLine()) {
    line->TrimLineBreaks();
    lines->Add(line);
  }
  if (exceededReadLimit_) {
    delete lines;
    return nullptr;
  }
  return lines;
}
